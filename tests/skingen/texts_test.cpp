#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "skingen/drawn_images.h"
#include "tools/skingen/panel_layout.h"

namespace {

using skingen::Box;

std::string Where(const DrawnImage& d, const skingen::DrawnText& t) {
    return d.dir + "/" + d.spec->name + " '" + t.text + "'";
}

}  // namespace

// Every word the generator draws fits its box with room to spare on either side, and
// every box lies in its image.
TEST(SkinTexts, EveryWordFitsItsBoxWithAMargin) {
    constexpr float kMargin = 1.5f;
    for (const auto& d : DrawnImages())
        for (const auto& t : d.texts) {
            EXPECT_LE(t.tw + 2 * kMargin, t.w) << Where(d, t);
            EXPECT_LE(t.th, t.h) << Where(d, t);
            const Box frame{0, 0, float(d.spec->guiWidth), float(d.spec->guiHeight)};
            EXPECT_TRUE(frame.Contains({t.x, t.y, t.w, t.h})) << Where(d, t);
        }
}

// The labels and titles of the pictures of the synthesizer and manager pages keep clear
// of every control the panel draws over them, in every view that shows them; the
// sections' labels and the grounds of the value texts lie inside their frames, off the
// lines.
TEST(SkinTexts, NoLabelLiesUnderAControlOrOnAFrameLine) {
    using V = qd::PanelView;
    const V views[] = {V::kMain, V::kOverdrive, V::kEqBands, V::kEqGraph, V::kSourceList, V::kRangeList, V::kManager};
    int checked = 0;
    for (const qd::Skin skin : {qd::kSkinSpace, qd::kSkinSolid, qd::kSkinLcd}) {
        for (const auto part : {qd::PanelPart::kSynthPage, qd::PanelPart::kManagerPage}) {
            const auto plan = qd::PanelPlan(part, skin);
            for (size_t i = 0; i < plan.size(); ++i) {
                const qd::PlanItem& item = plan[i];
                if (item.kind != qd::ControlKind::kPicture || item.param >= 0) continue;
                const std::string path = qd::BitmapPath(item.image, qd::IsLcd(skin));  // "img/<dir>//?<name>-2x.png"
                const DrawnImage* d =
                    FindDrawn(path.substr(4, path.find('/', 4) - 4), qd::PanelBitmap(item.image).name);
                ASSERT_TRUE(d);
                for (const V view : views) {
                    if (!qd::ShownIn(item, view) && !(item.followsState && !item.groups)) continue;
                    const auto controls = skingen::ControlBoxes(ProjectManifest(), skin, view, part, int(i));
                    for (const auto& t : d->texts) {
                        if (t.onControl) continue;
                        const Box text{item.rect.L + t.tx, item.rect.T + t.ty, t.tw, t.th};
                        for (const Box& c : controls)
                            EXPECT_FALSE(text.Overlaps(c)) << Where(*d, t) << " view " << int(view);
                        ++checked;
                    }
                }
            }
        }
        for (const auto page : {skingen::Page::kSound, skingen::Page::kModulation, skingen::Page::kDrive,
                                skingen::Page::kEqBands, skingen::Page::kEqGraph}) {
            const auto layout = skingen::LayoutOf(ProjectManifest(), page, skin);
            // Every corner inside a section's frames, off their lines (the frames join).
            auto in = [](const skingen::Section& s, float x, float y) {
                return std::any_of(s.frames.begin(), s.frames.end(), [&](const Box& f) {
                    return f.Grown(-1, -1).Contains({x, y, 0, 0});
                });
            };
            auto inside = [&](const Box& b) {
                return std::any_of(layout.sections.begin(), layout.sections.end(), [&](const auto& s) {
                    return in(s, b.x, b.y) && in(s, b.R(), b.y) && in(s, b.x, b.B()) && in(s, b.R(), b.B());
                });
            };
            for (const auto& s : layout.sections)
                for (const auto& l : s.labels) {
                    const float w = skingen::TextWidth(l.text, {skingen::kLabelSize});
                    EXPECT_TRUE(inside({l.box.x + (l.box.w - w) / 2, l.box.y, w, l.box.h})) << s.title << " " << l.text;
                }
            for (const Box& g : layout.valueGrounds) EXPECT_TRUE(inside(g)) << g.x << "," << g.y;
        }
    }
    EXPECT_GT(checked, 1000);
}
