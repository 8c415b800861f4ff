#include "tools/skingen/preview.h"

#include <cstdio>
#include <map>
#include <string>

#include "editor/data/keyboard_geometry.h"
#include "editor/data/panel_places.h"
#include "editor/data/panel_plan.h"
#include "raster/fill.h"
#include "raster/scaled_blit.h"
#include "tools/skingen/generator.h"
#include "tools/skingen/painter.h"

namespace skingen {

namespace {

// The folder an image of the plan is read from in the skin.
std::string FolderOf(qd::Bmp image, qd::Skin skin) {
    const qd::BitmapRow& row = qd::PanelBitmap(image);
    if (!row.folder) return qd::IsLcd(skin) ? "lcd" : "orig";
    const std::string folder = row.folder;  // "img/<dir>/"
    return folder.substr(4, folder.size() - 5);
}

class Composer {
public:
    Composer(const Manifest& manifest, qd::Skin skin, PIX_IBitmap& page)
        : mManifest(manifest), mSkin(skin), mPage(page) {}

    // Draws frame `frame` of the image with its top-left at (x, y) in GUI pixels.
    void Place(qd::Bmp image, float x, float y, int frame = 0) {
        const std::string dir = FolderOf(image, mSkin);
        const ImageSpec* spec = FindImage(mManifest, dir, qd::PanelBitmap(image).name);
        if (!spec) {
            mOk = false;
            return;
        }
        auto& bm = mCache[dir + "/" + spec->name];
        if (!bm) bm = DrawImage(mManifest, dir, *spec, nullptr);
        if (!bm) {
            mOk = false;
            return;
        }
        const int fh = spec->guiHeight * kScale;
        frame %= spec->frames;
        PIX_ScaledBlit(&mPage, bm.get(), int(x), int(y), spec->guiWidth, spec->guiHeight, 0, float(fh * frame),
                       float(spec->guiWidth * kScale), float(fh), 1.0f,
                       PIX_MODE_USE_SOURCE_ALPHA | PIX_MODE_FILTER_BILINEAR);
    }
    // GUI-size text in the panel's style, drawn through a painter at scale 1 (the
    // painter doubles, so halve).
    void Caption(const IRECT& r, const std::string& text, qd::TextRole role) {
        const IText t = qd::TextStyleOf(role, mSkin);
        const Align align = t.align == IText::kAlignNear  ? Align::kLeft
                            : t.align == IText::kAlignFar ? Align::kRight
                                                          : Align::kCentre;
        const PIX_PixelValue colour = PIX_MakePixel(255, t.color.R, t.color.G, t.color.B);
        Painter p(mPage);
        p.Text(r.L / float(kScale), r.T / float(kScale), r.W() / float(kScale), r.H() / float(kScale), text,
               {float(t.size) / kScale, t.style == IText::kStyleBold, colour, align});
    }
    bool Ok() const { return mOk; }

private:
    const Manifest& mManifest;
    qd::Skin mSkin;
    PIX_IBitmap& mPage;
    std::map<std::string, std::unique_ptr<PIX_MemBitmap>> mCache;
    bool mOk = true;
};

// A sample value for the parameter, the same in every run.
int SampleValue(int param) { return (param * 37) % 128; }

// The frame an image shows: switches and buttons on and off alternately, sliders at
// their sample values, a few bank slots filled and one selected.
int SampleFrame(const qd::PlanItem& item) {
    switch (item.keep) {
        case qd::Keep::kSlotPicture: return item.index * 5 % 7;
        case qd::Keep::kSlotMark: return item.index == 23;
        default: break;
    }
    if (item.param < 0) return 0;
    const bool twoState = item.kind == qd::ControlKind::kSwitch || item.kind == qd::ControlKind::kContact;
    return twoState ? item.param % 2 : SampleValue(item.param);
}

// What a spinner shows: a Flexi source or range, or a MIDI channel.
std::string SampleSpinnerText(int param) {
    if (param >= qd::param::kFlexi1Sources && param <= qd::param::kFlexi4Ranges)
        return param % 2 ? "Mod Wheel" : "VCO1 fine";
    return "1";
}

// Every control the plan shows in the view, with sample values and texts.
void ComposePart(Composer& c, qd::PanelPart part, qd::Skin skin, qd::PanelView view) {
    using K = qd::ControlKind;
    for (const qd::PlanItem& item : qd::PanelPlan(part, skin)) {
        if (!qd::ShownIn(item, view)) continue;
        const IRECT& r = item.rect;
        switch (item.kind) {
            case K::kPicture:
            case K::kSwitch:
            case K::kContact:
            case K::kSlider:
            case K::kSlider2:
            case K::kSlider3:
            case K::kFader: c.Place(item.image, r.L, r.T, SampleFrame(item)); break;
            case K::kText: c.Caption(r, item.text, item.style); break;
            case K::kValueText: c.Caption(r, std::to_string(SampleValue(item.param)), item.style); break;
            case K::kSpinner: c.Caption(r, SampleSpinnerText(item.param), item.style); break;
            case K::kKeyboard:
                for (int o = 0; o < qd::keyboard::kOctaves; ++o) {
                    const float x = float(r.L + qd::keyboard::kOctaveWidth * o);
                    c.Place(qd::kBmpOctave, x, r.T);
                    if (o == 2) c.Place(item.image, x, r.T, 4), c.Place(item.image, x, r.T, 6);
                }
                break;
            default: break;  // click areas, and what shows only while it is used
        }
    }
}

// Sample programs in the manager's list and bank.
void ManagerSamples(Composer& c) {
    namespace m = qd::manager;
    for (int k = 0; k < m::kListRows; ++k)
        c.Caption(m::ListRow(k), "Program " + std::to_string(k + 1), qd::TextRole::kListRow);
    for (int k = 1; k < m::kBankSlots; ++k) {
        const qd::Place at = m::SlotCorner(k);
        const IRECT name(at.x + m::kSlotNameText.L, at.y + m::kSlotNameText.T, at.x + m::kSlotNameText.R,
                         at.y + m::kSlotNameText.B);
        if (k * 5 % 7) c.Caption(name, "Fat Bass", qd::TextRole::kSlotName);
    }
}

}  // namespace

std::unique_ptr<PIX_MemBitmap> ComposePage(const Manifest& manifest, Look look) {
    auto page = std::make_unique<PIX_MemBitmap>(qd::kPanelWidth, qd::kPanelHeight);
    PIX_Clear(page.get(), Rgb(0));
    const qd::Skin skin = look == Look::kLcd ? qd::kSkinLcd : look == Look::kSolid ? qd::kSkinSolid : qd::kSkinSpace;
    Composer c(manifest, skin, *page);
    if (look == Look::kManager) {
        ComposePart(c, qd::PanelPart::kManagerPage, skin, qd::PanelView::kManager);
        ManagerSamples(c);
    } else {
        ComposePart(c, qd::PanelPart::kSynthPage, skin, qd::PanelView::kMain);
        ComposePart(c, qd::PanelPart::kKeyboard, skin, qd::PanelView::kMain);
    }
    return c.Ok() ? std::move(page) : nullptr;
}

}  // namespace skingen
