#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "editor/data/param_table.h"
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

// The list overlays stripe their entries on the rows of the list selects, so the
// stripe changes exactly at each row boundary of every column.
TEST(SkinPages, ListEntriesStandOnTheSelectRows) {
    const int rows = qd::kParamTable[263].max + 1;
    const float rowH = 500.0f / float(rows);
    for (const char* name : {"sourcelist", "rangelist"}) {
        const DrawnImage* d = FindDrawn("orig", name);
        ASSERT_TRUE(d && d->bitmap);
        const int x = (23 + 2) * 2;  // left of every entry's text
        for (int r = 0; r + 1 < rows; ++r) {
            const int y0 = int((180 + rowH * r + rowH / 2) * 2), y1 = int((180 + rowH * (r + 1) + rowH / 2) * 2);
            const int edge = int((180 + rowH * (r + 1)) * 2);
            if (At(*d->bitmap, x, y0) == At(*d->bitmap, x, y1)) continue;  // past the column's last entry
            EXPECT_EQ(At(*d->bitmap, x, edge - 1), At(*d->bitmap, x, y0)) << name << " row " << r;
            EXPECT_EQ(At(*d->bitmap, x, edge), At(*d->bitmap, x, y1)) << name << " row " << r;
        }
    }
}
