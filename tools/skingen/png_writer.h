// PNG files from 32-bit bitmaps, through libpng's write side.
#pragma once

#include <string>

#include "raster/bitmap.h"

namespace skingen {

// Writes the bitmap as 8-bit RGBA (colours not premultiplied, as the loader reads
// them). Returns an empty string on success, else a message naming the path.
std::string WritePNG(const std::string& path, const PIX_IBitmap& bitmap);

}  // namespace skingen
