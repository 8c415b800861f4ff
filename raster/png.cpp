#include "raster/png.h"

#include <png.h>
#include <unistd.h>

#include <cerrno>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

PIX_ImageLoader* PIX_ImageLoaders = nullptr;

namespace {

// Why one decode failed. libpng reports through the two handlers below instead of
// printing on its own: its error text ends the decode, and its last warning is kept
// since the error alone may say little ("Invalid IHDR data" after "Invalid image width
// in IHDR"). `own` is this file's reason, which says it better when there is one. Plain
// arrays only: they are written right before a long jump.
struct DecodeReport {
    char libpng[160] = "";
    char warning[160] = "";
    char own[160] = "";
};

DecodeReport* reportOf(png_structp png) { return static_cast<DecodeReport*>(png_get_error_ptr(png)); }

[[noreturn]] void onPngError(png_structp png, png_const_charp message) {
    if (DecodeReport* report = reportOf(png)) std::snprintf(report->libpng, sizeof report->libpng, "%s", message);
    png_longjmp(png, 1);
}

void onPngWarning(png_structp png, png_const_charp message) {
    if (DecodeReport* report = reportOf(png)) std::snprintf(report->warning, sizeof report->warning, "%s", message);
}

// Gives this file's reason and ends the decode through libpng's error return.
[[noreturn]] void failWith(png_structp png, const char* reason) {
    if (DecodeReport* report = reportOf(png)) std::snprintf(report->own, sizeof report->own, "%s", reason);
    png_error(png, reason);
}

std::string explain(const DecodeReport& report) {
    if (*report.own) return report.own;
    std::string text = "damaged PNG data";
    if (*report.libpng) text += std::string(": ") + report.libpng;
    if (*report.warning && std::strcmp(report.warning, report.libpng) != 0)
        text += std::string(" (") + report.warning + ")";
    return text;
}

PIX_IBitmap* failed(std::string* failure, const std::string& reason) {
    if (failure) *failure = reason;
    return nullptr;
}

struct MemoryCursor {
    const unsigned char* data;
    size_t remaining;
};

// A short buffer is a damaged file: zero-filling the rest would decode garbage
// that looks like success.
void readFromMemory(png_structp png, png_bytep out, size_t length) {
    auto* cursor = static_cast<MemoryCursor*>(png_get_io_ptr(png));
    if (!cursor || length > cursor->remaining) failWith(png, "the data ends before the image does");
    std::memcpy(out, cursor->data, length);
    cursor->data += length;
    cursor->remaining -= length;
}

// libpng's own file reader says only "Read Error" for a file cut short.
void readFromFile(png_structp png, png_bytep out, size_t length) {
    FILE* file = static_cast<FILE*>(png_get_io_ptr(png));
    if (std::fread(out, 1, length, file) == length) return;
    if (!std::ferror(file)) failWith(png, "the file ends before the image does");
    char reason[128];
    std::snprintf(reason, sizeof reason, "the file cannot be read: %s", std::strerror(errno));
    failWith(png, reason);
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
PIX_IBitmap* readImage(png_structp png, png_infop info, PIX_IBitmap* given, DecodeReport* report) {
    PIX_IBitmap* volatile created = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        delete static_cast<PIX_IBitmap*>(created);
        std::free(static_cast<png_bytep*>(rows));
        return nullptr;
    }
    // Any size a PNG header can hold reaches the checks below, which name it; reading
    // the header allocates nothing by the image's size.
    png_set_user_limits(png, PNG_UINT_31_MAX, PNG_UINT_31_MAX);
    png_read_info(png, info);
    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colorType = 0, interlace = 0, compression = 0, filter = 0;
    png_get_IHDR(png, info, &width, &height, &bitDepth, &colorType, &interlace, &compression, &filter);
    // A crafted header must fail here, before its size reaches any allocation.
    const int64_t span = (int64_t(width) + 3) & ~int64_t(3);
    const bool tooWide = width > png_uint_32(kPixMaxPNGSide) || height > png_uint_32(kPixMaxPNGSide);
    if (width < 1 || height < 1 || tooWide || span * int64_t(height) * 4 > kPixMaxBitmapBytes) {
        if (width < 1 || height < 1)
            std::snprintf(report->own, sizeof report->own, "the image has no pixels");
        else if (tooWide)
            std::snprintf(report->own, sizeof report->own, "the image is %u x %u pixels, more than %d a side",
                          unsigned(width), unsigned(height), kPixMaxPNGSide);
        else
            std::snprintf(report->own, sizeof report->own, "the image is %u x %u pixels, more than %d MiB",
                          unsigned(width), unsigned(height), int(kPixMaxBitmapBytes >> 20));
        return nullptr;
    }
    auto outOfMemory = [&] {
        std::snprintf(report->own, sizeof report->own, "not enough memory for %u x %u pixels", unsigned(width),
                      unsigned(height));
        return nullptr;
    };

    // Interlaced images come in passes of scattered pixels: libpng swaps those itself.
    const bool ownSwap = requestARGB(png, info, bitDepth, colorType, interlace == PNG_INTERLACE_NONE);

    const int w = int(width), h = int(height);
    PIX_IBitmap* bitmap = given;
    if (bitmap) {
        bitmap->resize(w, h);
    } else {
        created = new (std::nothrow) PIX_MemBitmap(w, h, 4);
        bitmap = created;
        if (!bitmap) return outOfMemory();
    }
    if (bitmap->getWidth() != w || bitmap->getHeight() != h || !bitmap->getBits() || bitmap->getRowSpan() < w) {
        delete static_cast<PIX_IBitmap*>(created);
        return outOfMemory();
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
        return outOfMemory();
    }
    for (int i = 0; i < h; ++i) rows[i] = reinterpret_cast<png_bytep>(PIX_PixelAddress(*bitmap, 0, i));
    png_read_image(png, rows);
    std::free(static_cast<png_bytep*>(rows));
    return bitmap;
}

// Creates the libpng structures, lets `attach` connect the input, decodes, and
// releases everything libpng made whatever the outcome.
template <class Attach>
PIX_IBitmap* decode(PIX_IBitmap* bitmap, std::string* failure, Attach attach) {
    DecodeReport report;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &report, onPngError, onPngWarning);
    if (!png) return failed(failure, "not enough memory to decode");
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return failed(failure, "not enough memory to decode");
    }
    attach(png);
    PIX_IBitmap* result = readImage(png, info, bitmap, &report);
    png_destroy_read_struct(&png, &info, nullptr);
    return result ? result : failed(failure, explain(report));
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

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap) { return PIX_LoadPNG(path, bitmap, nullptr); }

PIX_IBitmap* PIX_LoadPNG(const char* path, PIX_IBitmap* bitmap, std::string* failure) {
    if (!path) return failed(failure, "no file name");
    FILE* file = std::fopen(path, "rb");
    if (!file) return failed(failure, std::string("the file cannot be opened: ") + std::strerror(errno));
    PIX_IBitmap* result =
        decode(bitmap, failure, [file](png_structp png) { png_set_read_fn(png, file, readFromFile); });
    std::fclose(file);
    return result;
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t count, PIX_IBitmap* bitmap) {
    return PIX_LoadPNGFromMemory(data, count, bitmap, nullptr);
}

PIX_IBitmap* PIX_LoadPNGFromMemory(const void* data, size_t count, PIX_IBitmap* bitmap, std::string* failure) {
    if (!data || count < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
        return failed(failure, "not PNG data");
    MemoryCursor cursor{static_cast<const unsigned char*>(data), count};
    return decode(bitmap, failure, [&cursor](png_structp png) { png_set_read_fn(png, &cursor, readFromMemory); });
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
