#include "tools/skingen/preview.h"

#include <map>
#include <string>

#include "editor/data/param_table.h"
#include "raster/fill.h"
#include "raster/scaled_blit.h"
#include "tools/skingen/generator.h"
#include "tools/skingen/painter.h"

namespace skingen {

namespace {

class Composer {
public:
    Composer(const Manifest& m, const std::string& dir, PIX_IBitmap& page) : m_(m), dir_(dir), page_(page) {}

    // Draws frame `frame` of the image with its top-left at (x, y) in GUI pixels.
    void Place(const std::string& name, float x, float y, int frame = 0) {
        const ImageSpec* spec = Find(name);
        if (!spec) {
            ok_ = false;
            return;
        }
        auto& bm = cache_[name];
        if (!bm) bm = DrawImage(dir_, *spec, nullptr);
        if (!bm) {
            ok_ = false;
            return;
        }
        const int fh = spec->guiHeight * kScale;
        PIX_ScaledBlit(&page_, bm.get(), int(x), int(y), spec->guiWidth, spec->guiHeight, 0, float(fh * frame),
                       float(spec->guiWidth * kScale), float(fh), 1.0f,
                       PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_FILTER_BILINEAR);
    }
    bool ok() const { return ok_; }

private:
    const ImageSpec* Find(const std::string& name) const {
        for (const auto& s : m_.images)
            if (s.name == name)
                for (const auto& d : s.dirs)
                    if (d == dir_) return &s;
        return nullptr;
    }
    const Manifest& m_;
    std::string dir_;
    PIX_IBitmap& page_;
    std::map<std::string, std::unique_ptr<PIX_MemBitmap>> cache_;
    bool ok_ = true;
};

// GUI-size text, drawn through a painter at scale 1 (the painter doubles, so halve).
void Caption(PIX_IBitmap& page, float x, float y, float w, float h, const std::string& text, float size,
             bool bold, PIX_PixelValue colour) {
    Painter p(page);
    p.Text(x / kScale, y / kScale, w / kScale, h / kScale, text, {size / kScale, bold, colour, Align::kCentre});
}

struct Placement {
    const char* name;
    float x, y;
    int frame;
};

// Buttons at their "orig" places (the "lcd" ones differ by a few pixels).
constexpr Placement kFixedPlaces[] = {
    {"vcosave-sw", 18, 730, 1}, {"flexisave-sw", 18, 760, 0}, {"copy", 196, 730, 0}, {"default", 71, 49, 0},
    {"random", 822, 758, 0},    {"reset", 822, 730, 0},       {"selectall", 1066, 730, 0},
    {"clearall", 1066, 758, 0}, {"prevbtn", 186, 49, 0},      {"nextbtn", 218, 49, 0},
    {"fload", 46, 11, 0},       {"fsave", 90, 11, 0},         {"fwriteone", 132, 11, 0},
    {"fwriteall", 196, 11, 0},
};

const char* SliderImage(int param) {
    switch (param) {
        case 51: case 52: return "vslider6";
        case 70: return "vslider3";
        case 84: case 134: return "vslider2";
        case 85: return "vslider5";
        default: return "vslider";
    }
}

void SoundPage(Composer& c, PIX_IBitmap& page, Look look) {
    const bool lcd = look == Look::kLcd;
    const PIX_PixelValue text = lcd ? Rgb(0) : Rgb(0xffffff);
    c.Place(look == Look::kSolid ? "background2" : "background", 0, 0);
    c.Place("vcosavebg", 0, 0);
    c.Place("fxbgmod", 0, 0);
    Caption(page, 36, 30, 232, 16, "Last Used Program", 12, true, lcd ? Rgb(0) : Rgb(0xff0000));
    c.Place("sevenseg", lcd ? 141 : 129, 47, 42);
    for (int p = 3; p <= 146; ++p) {
        if (p >= 98 && p <= 131) continue;
        const auto& pt = qd::kParamPositions[p - 3];
        if (!pt.x && !pt.y) continue;
        const int value = (p * 37) % 128;
        if (p == 78 || p == 87 || p == 89 || p == 92) {
            c.Place(lcd ? "bigbutton" : "syncbutton", pt.x + 6.0f, pt.y - 7.0f, p % 2);
            continue;
        }
        if (p == 93 || p == 127) {
            c.Place("vslidershort4", 936, p == 93 ? 493 : 438, p % 4);
            continue;
        }
        const std::string img = SliderImage(p);
        const int frames = img == "vslider" ? 128 : img.back() - '0';
        c.Place(img, pt.x, pt.y - 12.0f, value % frames);
        Caption(page, pt.x - 8.0f, pt.y + (lcd ? 27.0f : 33.0f), 48, 16, std::to_string(value), 11, true, text);
    }
    c.Place("syncbutton", 908, 458, 1);
    c.Place("fxordersw", 906, lcd ? 562 : 565);
    c.Place("syncbutton", 31, lcd ? 240 : 242);
    c.Place(lcd ? "flexi-sw" : "syncbutton", 408, 36, 1);
    for (int n = 0; n < 4; ++n) {
        const float d = 168.0f * n;
        Caption(page, 532 + d, 47, 20, 12, "(+)", 10, true, text);
        Caption(page, 551 + d, 71, 60, 12, "LEARN", 10, true, text);
        c.Place(lcd ? "flexi-sw" : "bigbutton", 570 + d, 50, n == 1);
        c.Place("led", 572 + d, 52, n == 1);
        c.Place("curves", 559 + d, 9, 20 * n + 10);
        c.Place("fleximode", 478 + d, 56, n % 2);
        Caption(page, 478 + d, 11, 70, 16, "Mod Wheel", 11, true, lcd ? Rgb(0) : Rgb(0xff0000));
        Caption(page, 478 + d, 35, 70, 16, "VCO1 fine", 11, true, lcd ? Rgb(0) : Rgb(0xff0000));
    }
    const float ty = lcd ? 562 : 565;
    c.Place("od-sw", 523, ty);
    c.Place("eq-sw", 618, ty);
    c.Place("ch-sw", 713, ty, 1);
    c.Place("dl-sw", 808, ty);
    c.Place("fxsw-h", 523, ty);
    for (const auto& pl : kFixedPlaces) c.Place(pl.name, pl.x, pl.y, pl.frame);
    for (const float x : {66.0f, 140.0f, 874.0f, 922.0f, 1002.0f})
        for (int r = 0; r < 4; ++r) c.Place("checkbox", x, 731 + 13.0f * r, (int(x) + r) % 2);
    Caption(page, 262, 730, 30, 40, "1", 11, true, Rgb(0));
    c.Place("modwheel", 293, 730, 40);
}

void Keyboard(Composer& c) {
    // The keyboard takes the "orig" pictures in every skin.
    for (int o = 0; o < 5; ++o) c.Place("bgkb", 316 + 98.0f * o, 728);
    c.Place("keys", 316 + 98.0f * 2, 728, 4);
    c.Place("keys", 316 + 98.0f * 2, 728, 6);
}

void ManagerPage(Composer& c, PIX_IBitmap& page) {
    c.Place("pm-background", 0, 0);
    const struct {
        const char* name;
        float x, y;
    } buttons[] = {{"pm-selectdisk", 22, 35},       {"pm-new", 324, 35},          {"pm-savetodisk", 493, 35},
                   {"pm-selectall", 84, 35},        {"pm-unselectall", 84, 64},   {"pm-invertselection", 188, 35},
                   {"pm-sendtobank", 188, 64},      {"pm-loadfromdisk", 387, 35}, {"pm-downloadfromqd", 387, 64},
                   {"pm-uploadtoqddatabase", 557, 35}, {"pm-uploadtoqd", 557, 64}, {"pm-overwrite", 942, 64}};
    for (const auto& b : buttons) c.Place(b.name, b.x, b.y);
    for (const float y : {31.0f, 44.0f, 57.0f, 70.0f, 83.0f}) {
        c.Place("checkbox", 668, y, y < 50);
        c.Place("checkbox", 826, y, y > 60);
    }
    c.Place("checkbox", 736, 83, 1);
    for (int k = 0; k < 47; ++k)
        Caption(page, 24, 118 + 14.0f * k, 250, 14, "Program " + std::to_string(k + 1), 12, true, Rgb(0xc8c8c8));
    c.Place("pm-scrollbar", 276, 116);
    for (int k = 1; k < 100; ++k) {
        const float x = 82.0f * (k % 10) + 308, y = float(int(68.5 * (k / 10) + 108));
        c.Place("pm-programselect", x, y, k == 23);
        c.Place("pm-program", x, y, k * 5 % 7);
        char num[8];
        std::snprintf(num, sizeof num, "%02d", k);
        Caption(page, x + 8, y + 2, 40, 24, num, 22, true, Rgb(0xdcdcdc));
        Caption(page, x + 4, y + 23, 68, 40, k * 5 % 7 ? "Fat Bass" : "", 10, true, Rgb(0xdcdcdc));
    }
    c.Place("pm-playnote", 317, 112);
}

}  // namespace

std::unique_ptr<PIX_MemBitmap> ComposePage(const Manifest& manifest, Look look) {
    auto page = std::make_unique<PIX_MemBitmap>(1140, 800);
    PIX_Clear(page.get(), Rgb(0));
    const std::string dir = look == Look::kLcd ? "lcd" : look == Look::kManager ? "manager" : "orig";
    Composer c(manifest, dir, *page);
    if (look == Look::kManager) {
        ManagerPage(c, *page);
    } else {
        SoundPage(c, *page, look);
        Composer orig(manifest, "orig", *page);
        Keyboard(orig);
        if (!orig.ok()) return nullptr;
    }
    return c.ok() ? std::move(page) : nullptr;
}

}  // namespace skingen
