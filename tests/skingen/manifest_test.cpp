#include <gtest/gtest.h>

#include <tuple>
#include <string>

#include "editor/data/panel_bitmaps.h"
#include "tools/skingen/manifest.h"

namespace {

const char* const kHeader = "# dir\tname\torig_id\tlcd_id\tframes\tdepicts\tw\th\tconstraint\n";

}  // namespace

TEST(SkinManifest, ReadsFoldersFramesAndSizes) {
    const auto m = skingen::ParseManifest(std::string(kHeader) +
                                          "orig+lcd\tvslider\t106\t206\t128\tfader\t32\t44\tnote\n"
                                          "\n"
                                          "manager\tpm-new\t310\t-\t2\tbutton\t58\t26\r\n");
    ASSERT_EQ(m.error, "");
    ASSERT_EQ(m.images.size(), 2u);
    EXPECT_EQ(m.images[0].dirs, (std::vector<std::string>{"orig", "lcd"}));
    EXPECT_EQ(std::tuple(m.images[0].frames, m.images[0].guiWidth, m.images[1].name), std::tuple(128, 32, "pm-new"));
    EXPECT_EQ(m.images[1].guiHeight, 26);
    EXPECT_EQ(skingen::ImagePath("lcd", "vslider"), "img/lcd/vslider-2x.png");
}

TEST(SkinManifest, BadRowsAreRefusedWithTheirLine) {
    const struct { const char* row; const char* why; } cases[] = {
        {"orig\tx\t1\t2\t1\tpic\t10\n", "expected at least 8"},
        {"skins\tx\t1\t2\t1\tpic\t10\t10\n", "unknown folder"},
        {"orig\t../x\t1\t2\t1\tpic\t10\t10\n", "bad image name"},
        {"orig\tx\t1\t2\t0\tpic\t10\t10\n", "bad frame count"},
        {"orig\tx\t1\t2\t2x\tpic\t10\t10\n", "bad frame count"},
        {"orig\tx\t1\t2\t1\tpic\t10\t99999\n", "bad size"},
        {"orig\tx\t1\t2\t1\tpic\t-4\t10\n", "bad size"},
        {"orig\tx\t1\t2\t1\tpic\t10\t10\norig+lcd\tx\t1\t2\t1\tpic\t10\t10\n", "listed twice"},
    };
    for (const auto& c : cases) {
        const auto m = skingen::ParseManifest(std::string(kHeader) + c.row);
        EXPECT_TRUE(m.images.empty()) << c.row;
        EXPECT_NE(m.error.find("line "), std::string::npos) << m.error;
        EXPECT_NE(m.error.find(c.why), std::string::npos) << m.error;
    }
    EXPECT_NE(skingen::ParseManifest(kHeader).error, "");
    EXPECT_NE(skingen::ReadManifest("/no/such/manifest.tsv").error.find("cannot be read"), std::string::npos);
}

// The panels load every image of their table with its frame count from the folders
// the generator draws it into.
TEST(SkinManifest, HoldsEveryPanelImageWithItsFrames) {
    const skingen::Manifest m = skingen::ReadManifest(QD_SKIN_MANIFEST);
    for (int b = 0; b < qd::kBmpCount; ++b) {
        const qd::BitmapRow& row = qd::PanelBitmap(qd::Bmp(b));
        for (const bool lcd : {false, true}) {
            if (qd::BitmapId(qd::Bmp(b), lcd) < 0) continue;
            const std::string path = qd::BitmapPath(qd::Bmp(b), lcd);  // "img/<dir>//?<name>-2x.png"
            const std::string dir = path.substr(4, path.find('/', 4) - 4);
            const skingen::ImageSpec* spec = skingen::FindImage(m, dir, row.name);
            ASSERT_TRUE(spec) << path;
            EXPECT_EQ(spec->frames, row.frames) << path;
        }
    }
}
