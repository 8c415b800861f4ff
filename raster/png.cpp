#include "raster/png.h"

#include <png.h>
#include <unistd.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

PIX_ImageLoader* PIX_ImageLoaders = nullptr;

namespace {

struct MemoryCursor {
    const unsigned char* data;
    size_t remaining;
};

// A short buffer is a damaged file: zero-filling the rest would decode garbage
// that looks like success.
void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    if (!cursor || length > cursor->remaining) png_error(png, "read past the end of the data");
    std::memcpy(out, cursor->data, length);
    cursor->data += length;
    cursor->remaining -= length;
}

// Applies the expansions that leave 4 bytes a pixel: alpha (or a 255 filler) first.
// With `ownSwap` an image with alpha is left as R, G, B, A and the caller moves the alpha
// byte to the front itself (returning true): libpng swaps byte by byte, a tenth of the
// whole decode, where a rotate of each pixel's word costs next to nothing.
bool requestARGB(png_structp png, png_infop info, int bitDepth, int colorType, bool ownSwap) {
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) {
        png_set_tRNS_to_alpha(png);
        colorType |= PNG_COLOR_MASK_ALPHA;
    }
    if (bitDepth == 16) png_set_strip_16(png);
    if (bitDepth < 8) png_set_packing(png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
    if (colorType & PNG_COLOR_MASK_ALPHA) {
        if (ownSwap) return true;
        png_set_swap_alpha(png);
    } else {
        png_set_filler(png, 255, PNG_FILLER_BEFORE);
    }
    return false;
}

// R, G, B, A in memory to A, R, G, B: each little-endian word rotated by one byte.
void alphaToFront(png_bytep row, int width) {
    for (int i = 0; i < width; ++i) {
        uint32_t p;
        std::memcpy(&p, row + size_t(i) * 4, 4);
        p = p << 8 | p >> 24;
        std::memcpy(row + size_t(i) * 4, &p, 4);
    }
}

// The whole decode with libpng's error return in place. Only plain data lives in
// this frame, and whatever it allocates is held in volatile locals so the error
// path sees the current values after the long jump and can free them.
PIX_IBitmap* readImage(png_structp png, png_infop info, PIX_IBitmap* given) {
    PIX_IBitmap* volatile created = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        delete static_cast<PIX_IBitmap*>(created);
        std::free(static_cast<png_bytep*>(rows));
        return nullptr;
    }
    // A crafted header must fail here, before its size reaches any allocation.
    png_set_user_limits(png, kPixMaxPNGSide, kPixMaxPNGSide);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, &compression, &filter);
    if (width < 1 || height < 1 || width > png_uint_32(kPixMaxPNGSide) || height > png_uint_32(kPixMaxPNGSide))
        return nullptr;
    const int64_t span = (int64_t(width) + 3) & ~int64_t(3);
    if (span * int64_t(height) * 4 > kPixMaxBitmapBytes) return nullptr;

    // Interlaced images come in passes of scattered pixels: libpng swaps those itself.
    const bool ownSwap = requestARGB(png, info, bitDepth, colorType, interlace == PNG_INTERLACE_NONE);

    const int w = int(width), h = int(height);
    PIX_IBitmap* bitmap = given;
    if (bitmap) {
        bitmap->resize(w, h);
    } else {
        created = new (std::nothrow) PIX_MemBitmap(w, h, 4);
        bitmap = created;
        if (!bitmap) return nullptr;
    }
    if (bitmap->getWidth() != w || bitmap->getHeight() != h || !bitmap->getBits() || bitmap->getRowSpan() < w) {
        delete static_cast<PIX_IBitmap*>(created);
        return nullptr;
    }
    if (ownSwap) {
        // Row by row, each swapped while it is still in the cache.
        for (int i = 0; i < h; ++i) {
            const auto row = reinterpret_cast<png_bytep>(PIX_PixelAddress(*bitmap, 0, i));
            png_read_row(png, row, nullptr);
            alphaToFront(row, w);
        }
        return bitmap;
    }
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * size_t(h)));
    if (!rows) {
        delete static_cast<PIX_IBitmap*>(created);
        return nullptr;
    }
    for (int i = 0; i < h; ++i) rows[i] = reinterpret_cast<png_bytep>(PIX_PixelAddress(*bitmap, 0, i));
    png_read_image(png, rows);
    std::free(static_cast<png_bytep*>(rows));
    return bitmap;
}

// Creates the libpng structures, lets `attach` connect the input, decodes, and
// releases everything libpng made whatever the outcome.
template <class Attach>
PIX_IBitmap* decode(PIX_IBitmap* bitmap, Attach attach) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return nullptr;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return nullptr;
    }
    attach(png);
    PIX_IBitmap* result = readImage(png, info, bitmap);
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

// The folder holding the running executable, read without a size limit.
std::string executableFolder() {
    std::string path(256, '\0');
    for (;;) {
        const ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
        if (n < 0) return {};
        if (size_t(n) < path.size()) {
            path.resize(size_t(n));
            break;
        }
        path.resize(path.size() * 2);
    }
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

PIX_ImageLoader pngLoader{};

const bool pngLoaderRegistered = (PIX_RegisterPNGLoader(), true);

}  // namespace

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap) {
    if (!path) return nullptr;
    FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    PIX_IBitmap* result = decode(bitmap, [file](png_structp png) { png_init_io(png, file); });
    std::fclose(file);
    return result;
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t count, PIX_IBitmap* bitmap) {
    if (!data || count < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0) return nullptr;
    MemoryCursor cursor{static_cast<const unsigned char*>(data), count};
    return decode(bitmap, [&cursor](png_structp png) { png_set_read_fn(png, &cursor, readFromMemory); });
}

PIX_IBitmap* PIX_LoadPNGFromBundle(const char* name, PIX_IBitmap* bitmap) {
    if (!name || std::strlen(name) > 400) return nullptr;
    const std::string folder = executableFolder();
    if (folder.empty()) return nullptr;
    return PIX_LoadPNG((folder + "/Resources/" + name).c_str(), bitmap);
}

PIX_IBitmap* PIX_PNGLoaderLoad(const char* name, bool checkExtension, PIX_IBitmap* bitmap) {
    if (!name) return nullptr;
    if (checkExtension) {
        // The first character is never taken as the extension's start, so ".png"
        // alone is a name, not an extension.
        const size_t length = std::strlen(name);
        size_t start = length;
        for (size_t i = length; i-- > 1;) {
            if (name[i] == '.' || name[i] == '/' || name[i] == '\\') {
                start = i;
                break;
            }
        }
        if (length - start != 4 || strncasecmp(name + start, ".png", 4) != 0) return nullptr;
    }
    return PIX_LoadPNG(name, bitmap);
}

const char* PIX_PNGLoaderTypes() {
    static const char kTypes[] = "PNG files (*.PNG)\0*.PNG\0";
    return kTypes;
}

void PIX_RegisterPNGLoader() {
    for (PIX_ImageLoader* l = PIX_ImageLoaders; l; l = l->next)
        if (l == &pngLoader) return;
    pngLoader.load = PIX_PNGLoaderLoad;
    pngLoader.types = PIX_PNGLoaderTypes;
    pngLoader.next = PIX_ImageLoaders;
    PIX_ImageLoaders = &pngLoader;
}
