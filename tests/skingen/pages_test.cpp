#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "raster/png.h"
#include "skingen/drawn_images.h"
#include "temp_dir.h"
#include "tools/skingen/panel_layout.h"
#include "tools/skingen/preview.h"

namespace {

uint32_t At(const PIX_IBitmap& bm, int x, int y) { return *PIX_PixelAddress(bm, x, y); }

}  // namespace

TEST(SkinPages, EveryLookComposesOpaqueAndTheSheetLoads) {
    for (const auto look : {skingen::Look::kSpace, skingen::Look::kSolid, skingen::Look::kLcd,
                            skingen::Look::kManager}) {
        const auto page = skingen::ComposePage(ProjectManifest(), look);
        ASSERT_TRUE(page) << int(look);
        int clear = 0;
        for (int y = 0; y < page->getHeight(); ++y)
            for (int x = 0; x < page->getWidth(); ++x) clear += PIX_PixelA(At(*page, x, y)) != 255;
        EXPECT_EQ(clear, 0) << int(look);
    }
    testutil::TempDir tmp;
    const std::string path = tmp.path() + "/sheet.png";
    ASSERT_EQ(skingen::WriteContactSheet(ProjectManifest(), path), "");
    std::unique_ptr<PIX_IBitmap> sheet(PIX_LoadPNG(path.c_str()));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->getWidth(), 2 * 1140 + 3 * 8);
}

