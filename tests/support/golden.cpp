#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "raster/png.h"
#include "tools/skingen/png_writer.h"

namespace testutil {

::testing::AssertionResult MatchesGolden(const PIX_IBitmap& actual, const std::string& name) {
    const std::string golden = std::string(QD_GOLDEN_DIR) + "/" + name + ".png";
    const char* update = std::getenv("QD_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        const std::string error = skingen::WritePNG(golden, actual);
        return error.empty() ? ::testing::AssertionSuccess() : ::testing::AssertionFailure() << error;
    }
    std::unique_ptr<PIX_IBitmap> expected(PIX_LoadPNG(golden.c_str()));
    const int w = actual.getWidth(), h = actual.getHeight();
    const bool sameSize = expected && expected->getWidth() == w && expected->getHeight() == h;
    // The diff: red where the two differ, elsewhere the reference at a quarter strength so
    // the shapes stay recognisable around the faults.
    PIX_MemBitmap diff(w, h);
    int differing = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t a = *PIX_PixelAddress(actual, x, y);
            const bool inside = expected && x < expected->getWidth() && y < expected->getHeight();
            const uint32_t e = inside ? *PIX_PixelAddress(*expected, x, y) : ~a;
            differing += a != e;
            *PIX_PixelAddress(diff, x, y) =
                a == e ? PIX_MakePixel(255, 192 + PIX_PixelR(e) / 4, 192 + PIX_PixelG(e) / 4, 192 + PIX_PixelB(e) / 4)
                       : PIX_MakePixel(255, 255, 0, 0);
        }
    if (sameSize && differing == 0) return ::testing::AssertionSuccess();
    std::error_code ignored;
    std::filesystem::create_directories(QD_GOLDEN_OUT_DIR, ignored);
    const std::string out = std::string(QD_GOLDEN_OUT_DIR) + "/" + name;
    skingen::WritePNG(out + ".actual.png", actual);
    skingen::WritePNG(out + ".diff.png", diff);
    auto failure = ::testing::AssertionFailure() << name << ": ";
    if (!expected)
        failure << "no reference image " << golden;
    else if (!sameSize)
        failure << "size " << w << "x" << h << " against the reference's " << expected->getWidth() << "x"
                << expected->getHeight();
    else
        failure << differing << " pixels differ";
    return failure << "; see " << out << ".actual.png and " << out << ".diff.png"
                   << " (QD_UPDATE_GOLDEN=1 rewrites the reference)";
}

}  // namespace testutil
