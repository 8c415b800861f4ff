#include "support/golden.h"

#include <png.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "raster/png.h"

namespace testutil {

namespace {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};

uint32_t PixelAt(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

// Red where the two differ, elsewhere the reference at a quarter strength so the
// shapes stay recognisable around the faults.
void DrawDiff(const PIX_IBitmap& actual, const PIX_IBitmap* expected, PIX_MemBitmap& diff) {
    diff.resize(actual.getWidth(), actual.getHeight());
    for (int y = 0; y < actual.getHeight(); ++y)
        for (int x = 0; x < actual.getWidth(); ++x) {
            const uint32_t a = PixelAt(actual, x, y);
            const bool inside = expected && x < expected->getWidth() && y < expected->getHeight();
            const uint32_t e = inside ? PixelAt(*expected, x, y) : ~a;
            *PIX_PixelAddress(diff, x, y) =
                a == e ? PIX_MakePixel(255, 192 + PIX_PixelR(e) / 4, 192 + PIX_PixelG(e) / 4, 192 + PIX_PixelB(e) / 4)
                       : PIX_MakePixel(255, 255, 0, 0);
        }
}

}  // namespace

bool WritePNG(const std::string& path, const PIX_IBitmap& bm) {
    std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const int w = bm.getWidth(), h = bm.getHeight();
    std::vector<png_byte> row(size_t(w) * 4);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint32_t p = PixelAt(bm, x, y);
            png_byte* o = &row[size_t(x) * 4];
            o[0] = png_byte(PIX_PixelR(p));
            o[1] = png_byte(PIX_PixelG(p));
            o[2] = png_byte(PIX_PixelB(p));
            o[3] = png_byte(PIX_PixelA(p));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

::testing::AssertionResult MatchesGolden(const PIX_IBitmap& actual, const std::string& name) {
    const std::string golden = std::string(QD_GOLDEN_DIR) + "/" + name + ".png";
    const char* update = std::getenv("QD_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        if (!WritePNG(golden, actual)) return ::testing::AssertionFailure() << "cannot write " << golden;
        return ::testing::AssertionSuccess();
    }
    std::unique_ptr<PIX_IBitmap> expected(PIX_LoadPNG(golden.c_str()));
    int differing = 0;
    if (expected && expected->getWidth() == actual.getWidth() && expected->getHeight() == actual.getHeight()) {
        for (int y = 0; y < actual.getHeight(); ++y)
            for (int x = 0; x < actual.getWidth(); ++x) differing += PixelAt(actual, x, y) != PixelAt(*expected, x, y);
        if (differing == 0) return ::testing::AssertionSuccess();
    }
    std::error_code ignored;
    std::filesystem::create_directories(QD_GOLDEN_OUT_DIR, ignored);
    const std::string out = std::string(QD_GOLDEN_OUT_DIR) + "/" + name;
    WritePNG(out + ".actual.png", actual);
    PIX_MemBitmap diff;
    DrawDiff(actual, expected.get(), diff);
    WritePNG(out + ".diff.png", diff);
    auto failure = ::testing::AssertionFailure() << name << ": ";
    if (!expected)
        failure << "no reference image " << golden;
    else if (differing == 0)
        failure << "size " << actual.getWidth() << "x" << actual.getHeight() << " against the reference's "
                << expected->getWidth() << "x" << expected->getHeight();
    else
        failure << differing << " pixels differ";
    return failure << "; see " << out << ".actual.png and " << out << ".diff.png"
                   << " (QD_UPDATE_GOLDEN=1 rewrites the reference)";
}

}  // namespace testutil
