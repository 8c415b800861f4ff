#include <gtest/gtest.h>

#include <tuple>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "raster/png.h"
#include "skingen/drawn_images.h"
#include "temp_dir.h"
#include "tools/skingen/png_writer.h"
#include "tools/skingen/preview.h"

namespace {

struct CrcRow { const char* dir; const char* name; uint32_t crc; };

constexpr CrcRow kCrcTable[] = {
#include "skingen/skin_crc_table.inc"
};

// Failed images are kept in the build tree for a look.
void KeepActual(const DrawnImage& d) {
    std::filesystem::create_directories(QD_SKIN_ACTUAL_DIR);
    const std::string path = std::string(QD_SKIN_ACTUAL_DIR) + "/" + d.dir + "-" + d.spec->name + "-2x.png";
    ADD_FAILURE() << "actual image: " << path << " " << skingen::WritePNG(path, *d.bitmap);
}

}  // namespace

TEST(SkinFiles, EveryManifestRowLoadsWithItsSizeAndFrames) {
    ASSERT_EQ(ProjectManifest().error, "");
    testutil::TempDir tmp;
    int written = 0;
    ASSERT_EQ(skingen::GenerateAll(ProjectManifest(), tmp.path(), &written), "");
    EXPECT_EQ(size_t(written), DrawnImages().size());
    for (const auto& d : DrawnImages()) {
        SCOPED_TRACE(d.dir + "/" + d.spec->name);
        ASSERT_TRUE(d.bitmap) << d.error;
        const std::string path = tmp.path() + "/" + skingen::ImagePath(d.dir, d.spec->name);
        std::unique_ptr<PIX_IBitmap> loaded(PIX_LoadPNG(path.c_str()));
        ASSERT_TRUE(loaded);
        const int w = loaded->getWidth(), h = loaded->getHeight();
        EXPECT_EQ(std::tuple(w, h), std::tuple(d.spec->guiWidth * 2, d.spec->guiHeight * 2 * d.spec->frames));
        // The file holds exactly the drawn pixels.
        EXPECT_EQ(skingen::PixelCrc(*loaded), skingen::PixelCrc(*d.bitmap));
    }
}

TEST(SkinFiles, PixelsMatchTheCrcTable) {
    std::set<std::string> listed;
    for (const auto& row : kCrcTable) {
        const std::string key = std::string(row.dir) + "/" + row.name;
        listed.insert(key);
        const DrawnImage* d = FindDrawn(row.dir, row.name);
        ASSERT_TRUE(d && d->bitmap) << key << " is in the table but not drawn";
        const uint32_t crc = skingen::PixelCrc(*d->bitmap);
        EXPECT_EQ(crc, row.crc) << key << " changed; if on purpose, run tools/skingen/update_crc_table.sh";
        if (crc != row.crc) KeepActual(*d);
    }
    for (const auto& d : DrawnImages())
        EXPECT_TRUE(listed.count(d.dir + "/" + d.spec->name)) << d.dir << "/" << d.spec->name << " has no CRC";
}

TEST(SkinFiles, EveryPageComposesOpaqueAndTheSheetLoads) {
    for (const auto look : {skingen::Look::kSpace, skingen::Look::kSolid, skingen::Look::kLcd,
                            skingen::Look::kManager}) {
        const auto page = skingen::ComposePage(ProjectManifest(), look);
        ASSERT_TRUE(page) << int(look);
        int clear = 0;
        for (int y = 0; y < page->getHeight(); ++y)
            for (int x = 0; x < page->getWidth(); ++x) clear += PIX_PixelA(*PIX_PixelAddress(*page, x, y)) != 255;
        EXPECT_EQ(clear, 0) << int(look);
    }
    testutil::TempDir tmp;
    ASSERT_EQ(skingen::WriteContactSheet(ProjectManifest(), tmp.path() + "/sheet.png"), "");
    std::unique_ptr<PIX_IBitmap> sheet(PIX_LoadPNG((tmp.path() + "/sheet.png").c_str()));
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->getWidth(), 2 * 1140 + 3 * 8);
}
