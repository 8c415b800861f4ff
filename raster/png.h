// PNG files to 32-bit bitmaps (A, R, G, B in memory, colours not premultiplied).
#pragma once

#include <cstddef>
#include <string>

#include "raster/bitmap.h"

// Every loader returns the bitmap it filled (the given one, resized, or a new
// PIX_MemBitmap with line alignment 4 that the caller owns) or null on any failure.
// libpng's own messages are never printed: the forms with `failure` say in a few words
// why the result is null (a file that cannot be opened or ends early, damaged data,
// an image too large to hold), so that the caller can tell the user.
PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap = nullptr);
PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap, std::string* failure);
PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t count, PIX_IBitmap* bitmap = nullptr);
PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t count, PIX_IBitmap* bitmap, std::string* failure);
// Looks in the Resources/ folder beside the running executable.
PIX_IBitmap* PIX_LoadPNGFromBundle(const char* name, PIX_IBitmap* bitmap = nullptr);

struct PIX_ImageLoader {
    PIX_IBitmap* (*load)(const char* name, bool checkExtension, PIX_IBitmap* bitmap);
    // Pairs of zero-terminated texts (description, pattern), ended by one more zero byte.
    const char* (*types)();
    PIX_ImageLoader* next;
};

// Head of the chain of registered loaders.
extern PIX_ImageLoader* PIX_ImageLoaders;

PIX_IBitmap* PIX_PNGLoaderLoad(const char* name, bool checkExtension, PIX_IBitmap* bitmap);
const char* PIX_PNGLoaderTypes();
// Runs once at start-up; calling it again does not link the record twice.
void PIX_RegisterPNGLoader();

// Images beyond this size are refused before any pixel memory is taken.
inline constexpr int kPixMaxPNGSide = 1 << 16;
