#include "tools/skingen/generator.h"

#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "raster/blit.h"
#include "raster/fill.h"
#include "raster/scaled_blit.h"
#include "tools/skingen/art.h"
#include "tools/skingen/painter.h"
#include "tools/skingen/png_writer.h"
#include "tools/skingen/preview.h"

namespace skingen {

namespace {

struct Entry {
    const char* name;
    ArtFn fn;
};

constexpr Entry kArt[] = {
    {"background", DrawBackground},
    {"background2", DrawBackground},
    {"vcosavebg", DrawSaveLabels},
    {"flexisavebg", DrawSaveLabels},
    {"curves", DrawCurves},
    {"vsliderflexired", DrawFlexiSlider},
    {"vsliderflexiblue", DrawFlexiSlider},
    {"vsliderflexipurple", DrawFlexiSlider},
    {"vsliderflexigreen", DrawFlexiSlider},
    {"vslider", DrawVSlider},
    {"vslider2", DrawVSlider},
    {"vslider3", DrawVSlider},
    {"vslider4", DrawVSlider},
    {"vslider5", DrawVSlider},
    {"vslider6", DrawVSlider},
    {"vslidershort4", DrawShortSlider},
    {"bigbutton", DrawBigButton},
    {"flexi-sw", DrawBigButton},
    {"syncbutton", DrawSyncButton},
    {"led", DrawLed},
    {"fxbgmod", DrawEffectPanel},
    {"fxbgdrive", DrawEffectPanel},
    {"fxbgeq", DrawEffectPanel},
    {"fxbgeq2", DrawEffectPanel},
    {"fxsw-h", DrawTabHighlight},
    {"sevenseg", DrawSevenSegment},
    {"fxordersw", DrawOrderSwitch},
    {"fleximode", DrawFlexiMode},
    {"fxsw", DrawRadioTab},
    {"od-sw", DrawEffectTab},
    {"eq-sw", DrawEffectTab},
    {"ch-sw", DrawEffectTab},
    {"dl-sw", DrawEffectTab},
    {"sourcelist", DrawListOverlay},
    {"rangelist", DrawListOverlay},
    {"polarsw2", DrawPolaritySwitch},
    {"vcosave-sw", DrawWordButton},
    {"flexisave-sw", DrawWordButton},
    {"copy", DrawWordButton},
    {"default", DrawWordButton},
    {"random", DrawWordButton},
    {"reset", DrawWordButton},
    {"selectall", DrawWordButton},
    {"clearall", DrawWordButton},
    {"checkbox", DrawCheckboxImage},
    {"prevbtn", DrawPrevNext},
    {"nextbtn", DrawPrevNext},
    {"fopen", DrawSelecting},
    {"fload", DrawWordButton},
    {"fsave", DrawWordButton},
    {"fwriteone", DrawWordButton},
    {"fwriteall", DrawWordButton},
    {"savefromqd-bg", DrawSaveFromBox},
    {"modwheel", DrawModWheel},
    {"about", DrawAbout},
    {"keys", DrawKeys},
    {"bgkb", DrawOctave},
    {"pm-background", DrawManagerPage},
    {"pm-program", DrawSlotCard},
    {"pm-programselect", DrawSlotSelect},
    {"pm-playnote", DrawPlayNote},
    {"pm-scrollbar", DrawScrollHandle},
    {"pm-loginbg", DrawLoginBox},
    {"pm-selectdirbg", DrawModeBox},
};

Look LookOf(const std::string& dir, const std::string& name) {
    if (dir == "manager") return Look::kManager;
    if (dir == "lcd") return Look::kLcd;
    if (name == "background") return Look::kSpace;
    if (name == "background2") return Look::kSolid;
    return Look::kOrig;
}

}  // namespace

ArtFn ArtFor(const std::string& name) {
    for (const auto& e : kArt)
        if (name == e.name) return e.fn;
    // Every other manager image is a button with its word.
    if (name.rfind("pm-", 0) == 0) return DrawWordButton;
    return nullptr;
}

std::unique_ptr<PIX_MemBitmap> DrawImage(const Manifest& manifest, const std::string& dir, const ImageSpec& spec,
                                         std::string* error, std::vector<DrawnText>* texts) {
    const ArtFn fn = ArtFor(spec.name);
    if (!fn) {
        if (error) *error = "no drawing for image '" + spec.name + "'";
        return nullptr;
    }
    auto bm = std::make_unique<PIX_MemBitmap>(spec.guiWidth * kScale, spec.guiHeight * kScale * spec.frames);
    if (!PIX_HasPixels(bm.get())) {
        if (error) *error = "image '" + spec.name + "' is too large";
        return nullptr;
    }
    PIX_Clear(bm.get(), PIX_MakePixel(0, 0, 0, 0));
    Painter painter(*bm);
    painter.SetTextLog(texts);
    const Look look = LookOf(dir, spec.name);
    for (int f = 0; f < spec.frames; ++f) {
        painter.SetOrigin(0, float(f * spec.guiHeight));
        fn(ArtContext{manifest, painter, PaletteFor(look), look, spec, f, float(spec.guiWidth), float(spec.guiHeight)});
    }
    return bm;
}

std::string GenerateAll(const Manifest& manifest, const std::string& root, int* written) {
    if (written) *written = 0;
    if (!manifest.error.empty()) return manifest.error;
    for (const auto& spec : manifest.images) {
        for (const auto& dir : spec.dirs) {
            std::string error;
            const auto bm = DrawImage(manifest, dir, spec, &error);
            if (!bm) return error;
            const std::filesystem::path path = std::filesystem::path(root) / ImagePath(dir, spec.name);
            std::error_code ec;
            std::filesystem::create_directories(path.parent_path(), ec);
            if (ec) return path.parent_path().string() + ": " + ec.message();
            error = WritePNG(path.string(), *bm);
            if (!error.empty()) return error;
            if (written) ++*written;
        }
    }
    return {};
}

uint32_t PixelCrc(const PIX_IBitmap& bm) {
    uLong crc = crc32(0, nullptr, 0);
    for (int y = 0; y < bm.getHeight(); ++y)
        crc = crc32(crc, reinterpret_cast<const Bytef*>(PIX_PixelAddress(bm, 0, y)), uInt(bm.getWidth()) * 4u);
    return uint32_t(crc);
}

std::string WriteContactSheet(const Manifest& manifest, const std::string& path) {
    if (!manifest.error.empty()) return manifest.error;
    struct Item {
        std::unique_ptr<PIX_MemBitmap> bm;
        int w, h;        // on the sheet
        int srcW, srcH;  // of the frames shown, in the file
    };
    std::vector<Item> items;
    for (const auto& spec : manifest.images)
        for (const auto& dir : spec.dirs) {
            std::string error;
            auto bm = DrawImage(manifest, dir, spec, &error);
            if (!bm) return error;
            // Pages at half their GUI size, controls at GUI size; strips show at most
            // their first 12 frames.
            const int frames = std::min(spec.frames, 12);
            const int div = spec.guiWidth >= 600 ? 2 : 1;
            items.push_back({std::move(bm), spec.guiWidth / div, spec.guiHeight * frames / div, spec.guiWidth * kScale,
                             spec.guiHeight * frames * kScale});
        }
    // The composed pages first, two to a row, then every image by shelf packing.
    const int gap = 8, sheetW = 2 * 1140 + 3 * gap;
    std::vector<std::unique_ptr<PIX_MemBitmap>> pages;
    for (const Look look : {Look::kSpace, Look::kSolid, Look::kLcd, Look::kManager}) {
        pages.push_back(ComposePage(manifest, look));
        if (!pages.back()) return "a page image is missing from the manifest";
    }
    const int pagesH = 2 * (800 + gap);
    int x = gap, y = gap + pagesH, shelf = 0;
    std::vector<std::pair<int, int>> at;
    for (const auto& it : items) {
        if (x + it.w + gap > sheetW) {
            x = gap;
            y += shelf + gap;
            shelf = 0;
        }
        at.emplace_back(x, y);
        x += it.w + gap;
        shelf = std::max(shelf, it.h);
    }
    PIX_MemBitmap sheet(sheetW, y + shelf + gap);
    PIX_Clear(&sheet, PIX_MakePixel(255, 96, 96, 96));
    for (size_t i = 0; i < pages.size(); ++i)
        PIX_Blit(&sheet, pages[i].get(), gap + int(i % 2) * (1140 + gap), gap + int(i / 2) * (800 + gap), 0, 0, 1140,
                 800, 1.0f, PIX_MODE_COPY);
    for (size_t i = 0; i < items.size(); ++i) {
        const auto& it = items[i];
        PIX_ScaledBlit(&sheet, it.bm.get(), at[i].first, at[i].second, it.w, it.h, 0, 0, float(it.srcW), float(it.srcH),
                       1.0f, PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_FILTER_BILINEAR);
    }
    return WritePNG(path, sheet);
}

}  // namespace skingen
