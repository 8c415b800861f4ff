// Seeded random calls with absurd and missing arguments through every engine operation,
// with and without a back buffer: under the sanitizers this covers every guard.
#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <tuple>
#include <memory>
#include <random>

#include "fixtures.h"

using namespace guitest;

namespace {

class Args {
public:
    explicit Args(uint32_t seed) : mRng(seed) {}
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }
    bool Maybe(int percent) { return Pick(0, 99) < percent; }
    int Int() {
        static constexpr int kEdges[] = {0, -1, 1, INT32_MIN, INT32_MAX, INT32_MIN + 1, INT32_MAX - 1, 1 << 16};
        return Maybe(25) ? kEdges[Pick(0, 7)] : Pick(-40, 80);
    }
    float Float() {
        static constexpr float kEdges[] = {std::numeric_limits<float>::quiet_NaN(),
                                           std::numeric_limits<float>::infinity(), -1e30f, 1e30f, -0.0f};
        return Maybe(20) ? kEdges[Pick(0, 4)] : float(Pick(-4000, 8000)) / 100.0f;
    }
    template <class T> T* OrNull(T* p) { return Maybe(15) ? nullptr : p; }

private:
    std::mt19937 mRng;
};

TEST(RandomCalls, EveryOperationReturnsWhateverItIsGiven) {
    Args a(20261206);
    std::unique_ptr<PIX_MemBitmap> pixels(new PIX_MemBitmap(6, 4, 4));
    const IBitmapStrip strips[] = {
        {pixels.get(), 6, 4, 2, true}, {pixels.get(), 6, 4, 1, false}, {}, {nullptr, 9, 9, 3, true}};
    const IColor color(200, 10, 20, 30);
    IText text(12, color, "Monaco");
    const IChannelBlend blends[] = {{1, 1.0f}, {2, 0.25f}, {3, 1.0f}, {7, 0.0f}};
    const int xs[] = {1, 30, 12, -5, INT32_MAX}, ys[] = {1, 3, 40, INT32_MIN, 9};

    for (int round = 0; round < 60; ++round) {
        LogPlug plug(3, nullptr);
        plug.GetParam(0)->InitInt("i", 0, -5, 5);
        plug.GetParam(1)->InitEnum("e", 0, 3);
        const int side = a.Maybe(5) ? 1 << 20 : a.Pick(0, 40);  // an absurd size gets no back buffer
        auto* g = new RecordingGraphics(a.Maybe(80) ? &plug : nullptr, side, a.Maybe(5) ? side : a.Pick(0, 40));
        if (a.Maybe(70)) g->PrepDraw();
        for (int i = a.Pick(0, 5); i > 0; --i)
            g->AttachControl(
                new LogControl(&plug, nullptr, "c", IRECT(a.Int(), a.Int(), a.Int(), a.Int()), a.Pick(-2, 4)));
        if (g->GetPlug()) plug.AttachGraphics(g);
        for (int call = 0; call < 80; ++call) {
            const IBitmapStrip* s = a.OrNull(&strips[a.Pick(0, 3)]);
            const IColor* c = a.OrNull(&color);
            const IChannelBlend* b = a.Maybe(30) ? nullptr : &blends[a.Pick(0, 3)];
            IRECT r(a.Int(), a.Int(), a.Int(), a.Int()), dirty;
            IRECT* pr = a.OrNull(&r);
            IRECT small(a.Pick(-9, 9), a.Pick(-9, 9), a.Pick(-9, 40), a.Pick(-9, 40));  // a bitmap is made this size
            IMouseMod m(a.Maybe(50), a.Maybe(50), a.Maybe(50));
            IMouseMod* pm = a.OrNull(&m);
            const int x = a.Int(), y = a.Int(), p = a.Pick(-2, 4);
            const bool aa = a.Maybe(50);
            auto f = [&] { return a.Float(); };
            switch (a.Pick(0, 19)) {
                case 0: g->DrawBitmap(s, pr, a.Int(), a.Int(), b), g->DrawBitmapState(s, pr, a.Int(), b); break;
                case 1: g->DrawRotatedBitmap(s, x, y, f(), a.Int(), b); break;
                case 2: g->DrawRotatedMask(s, a.OrNull(&strips[0]), s, x, y, f(), b); break;
                case 3: g->DrawPoint(c, f(), f(), b), g->ForcePixel(c, x, y), g->GetPixelColor(x, y); break;
                case 4:
                    g->DrawLine(c, f(), f(), f(), f(), b, aa), g->DrawRadialLine(c, f(), f(), f(), f(), f(), b, aa);
                    break;
                case 5: g->DrawArc(c, f(), f(), f(), f(), f(), b, aa), g->DrawCircle(c, f(), f(), f(), b, aa); break;
                case 6: g->DrawRoundRect(c, pr, b, a.Int(), aa), g->FillRoundRect(c, pr, b, a.Int(), aa); break;
                case 7:
                    g->FillCircle(c, x, y, f(), b, aa), g->FillTriangle(c, x, y, a.Int(), a.Int(), a.Int(), a.Int(), b);
                    break;
                case 8: g->FillCubicBezier(c, a.Int(), f(), f(), f(), f(), f(), f(), f(), f(), f(), f()); break;
                case 9: g->FillConvexPolygon(c, a.OrNull(xs), ys, a.Pick(-1, 5), b), g->FillIRect(c, pr, b); break;
                case 10:
                    g->DrawVerticalLine(c, x, a.Int(), a.Int()), g->DrawHorizontalLine(c, y, a.Int(), a.Int());
                    break;
                case 11:
                    g->DrawRectOutline(c, pr), g->DrawVerticalLineInRect(c, pr, f()),
                        g->DrawHorizontalLineInRect(c, pr, f());
                    break;
                case 12: g->DrawBlurredBitmap(s, x, y, pr); break;
                case 13:  // a random style, its face perhaps without an end
                    text = IText(a.Int(), color, "Monaco", a.Int(), a.Int(), a.Int(), a.Int());
                    if (a.Maybe(20)) std::memset(text.font, 'x', sizeof text.font);
                    g->DrawIText(a.OrNull(&text), a.Maybe(20) ? nullptr : "Ab\xe9\x80", pr, aa);
                    g->MeasureIText(&text, "Ab", &r);
                    g->DrawITextInside(a.OrNull(&text), "Ab\xe9", r, a.Pick(-1, 40), a.Pick(-1, 40));
                    g->DrawBitmapText(s, pr, a.OrNull(&text), b, "!\"#", aa, a.Maybe(50), a.Int(), a.Int(), a.Int());
                    break;
                case 14: {
                    IBitmapStrip copy = g->CropBitmapStrip(s, a.OrNull(&small)), scaled = g->ScaleBitmapStrip(s, a.Pick(-2, 30), y);
                    g->KeepBitmap(&copy), g->KeepBitmap(&copy), g->DropBitmap(&copy), g->DropBitmap(&scaled);
                    if (a.Maybe(10)) g->RescaleBitmaps(f());
                    break;
                }
                case 15:
                    g->ReplaceControl(a.Int(), nullptr), g->MoveControlBehind(a.Pick(-1, 6), a.Pick(-1, 6));
                    g->SwapControls(a.Pick(-1, 6), a.Pick(-1, 6)), g->HideControlAt(a.Int(), aa);
                    g->MoveControlAt(a.Pick(-1, 6), x, y), g->SetControlFromPlugAt(a.Int(), f());
                    g->GrayOutControlAt(a.Int(), aa), g->IdleAllControls(), g->SetRectRedraw(aa);
                    break;
                case 16:
                    g->SetParameterFromPlug(p, f(), aa), g->HideControl(p, aa), g->GrayOutControl(p, aa);
                    g->ClampControl(p, f(), f(), aa), g->SetControlsFromUserInput(p, f()), g->MoveControl(p, x, y);
                    g->StoreParamUnderMouse(x, y), g->TakeParamUnderMouse(), g->AssignParamNameToolTips();
                    break;
                case 17:
                    g->OnMouseDown(x, y, pm), g->OnMouseDrag(a.Int(), a.Int(), pm), g->OnMouseUp(x, y, pm);
                    g->OnMouseDblClick(x, y, pm), g->HandleMouseOver(aa), g->OnMouseOver(x, y, pm);
                    g->OnMouseWheel(x, y, pm, a.Int()), g->OnKeyDown(x, y, a.Int()), g->OnMouseOut();
                    break;
                case 18:
                    g->IsDirty(a.OrNull(&dirty)), g->Draw(pr);
                    IModuleAnimation().DrawCurvePreview(g, a.Int(), a.Int(), x, y);
                    if (IControl* control = g->GetControl(a.Pick(0, 5)))
                        control->GetAnimation()->Start("a", aa, a.Int(), a.Int(), a.Int(), a.Int(), f(), f());
                    break;
                case 19:
                    if (aa) g->DropBackBuffer();
                    g->PromptUserInput(g->GetControl(a.Pick(0, 5)), plug.GetParam(p), pr);
                    g->SetFromStringAfterPrompt(g->GetControl(a.Pick(0, 5)), plug.GetParam(p),
                                                a.Maybe(20) ? nullptr : "1e999");
                    break;
            }
        }
        if (plug.GetGUI() != g) delete g;
    }
}

TEST(RandomCalls, TheWindowBackEndWithoutAPlatformFailsQuietly) {
    IGraphicsMac g(nullptr, 10, 10, 0);
    IRECT r(0, 0, 1, 1);
    IPopupMenu menu;
    CMN_String s("x");
    EXPECT_EQ(std::tuple(g.OpenWindow(nullptr), g.CreateIPopupMenu(&menu, &r), g.ShowMessageBox("a", "b", 1)),
              std::tuple(nullptr, nullptr, 0));
    EXPECT_FALSE(g.DrawScreen(&r) || g.OpenURL("http://example.org") || g.GetTextFromClipboard(&s));
    g.PromptForFile(&s, 1, nullptr, nullptr), g.HideMouseCursor(), g.ShowMouseCursor();
}

}  // namespace
