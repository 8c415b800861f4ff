// Every control under random rectangles, values, events and scales, for the sanitizers.
#include <cmath>
#include <functional>
#include <random>
#include <string>

#include "controls_fixture.h"
#include "gui/bitmap_text_control.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/url_control.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"

using namespace ctltest;

TEST_F(ControlsFixture, RandomEventsOnEveryControl) {
    std::mt19937 rng(20261206);
    auto n = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto r = [&] {
        const int l = n(-20, 380), t = n(-20, 280);
        return n(0, 5) ? IRECT(l, t, l + n(1, 120), t + n(1, 90)) : IRECT(l, t, l, t + n(0, 3));
    };
    auto s = [&] { return Strip(n(1, 5), n(1, 30), n(1, 30), n(0, 1)); };
    auto p = [&] { return n(-1, kNParams - 1); };
    IText text(n(1, 30), COLOR_WHITE);
    text.entryKind = n(0, 1);
    IParam own;
    own.InitInt("own", 3, 0, 9);
    const std::string big(300, 'u');
    std::string many;  // more labels than an axis keeps
    for (int i = 1; i <= 25; ++i) many += "," + std::to_string(i);
    const std::vector<std::function<IControl*()>> makers = {
        [&] { return new ISwitchControl(&plug, n(0, 300), n(0, 200), p(), s()); },
        [&] { return new ISwitchFramesControl(&plug, n(0, 300), n(0, 200), p(), s(), n(0, 1)); },
        [&] { return new IContactControl(&plug, n(0, 300), n(0, 200), p(), s()); },
        [&] { return new ISwitchPopUpControl(&plug, n(0, 300), n(0, 200), p(), s()); },
        [&] { return new IBitmapTextControl(&plug, r(), s(), "Ab~", &text, n(-1, 9), n(-1, 9), n(-2, 4), n(0, 1)); },
        [&] { return new IBitmapOverlayControl(&plug, n(0, 300), n(0, 200), s(), r()); },
        [&] { return new IInvisibleSwitchControl(&plug, r(), p()); },
        [&] { return new IRadioButtonsControl(&plug, r(), p(), n(0, 6), s(), n(0, 3)); },
        [&] { return new IEditableTextControl(&plug, r(), p(), &text, big.c_str(), false, n(0, 1)); },
        [&] { return new ITextControl2(&plug, r(), p(), &text); },
        [&] { return new IFaderControl(&plug, n(0, 300), n(0, 200), n(0, 60), p(), s(), n(0, 1), n(0, 1)); },
        [&] { return new IKnobLineControl(&plug, r(), p(), &COLOR_RED, n(0, 10), n(0, 30)); },
        [&] { return new IKnobRotaterControl(&plug, n(0, 300), n(0, 200), p(), s()); },
        [&] { return new IKnobMultiControl2(&plug, n(0, 300), n(0, 200), p(), s(), n(0, 1)); },
        [&] { return new IKnobMultiControl3(&plug, n(0, 300), n(0, 200), p(), s()); },
        [&] { return new IKnobRotatingMaskControl(&plug, 9, 9, p(), Strip(1, 20, 20), s(), Strip(1, 20, 20)); },
        [&] { return new IInvisibleSelectControl(&plug, r(), p()); },
        [&] { return new IInvisibleSelectControl2(&plug, r(), p(), n(0, 1)); },
        [&] { return new IInvisibleSelectControl3(&plug, r(), p(), n(0, 1)); },
        [&] {
            auto* m = new IInvisibleMatrixSelectControl(&plug, r(), p());
            m->SetGrid(n(-1, 9), n(-1, 30));
            return m;
        },
        [&] { return new ISpinnerControl(&plug, r(), p(), &text, n(0, 1) ? &own : nullptr, 1, 1, n(0, 1), n(0, 3)); },
        [&] { return new ICaptionControl(&plug, r(), p(), &text, n(0, 1)); },
        [&] { return new IURLControl(&plug, r(), big.c_str(), "", big.c_str()); },
        [&] { return new IFileSelectorControl(&plug, r(), p(), s(), n(0, 1), "/tmp/", "syx"); },
        [&] { return new IUserTextControl(&plug, r(), &text, "pw"); },
        [&] { return new AlgDisplay(&plug, r(), &text, "12"); },
        [&] {  // bands off the axis, at 0 Hz, of width 0, on graphs up to 9000 pixels wide, too many labels
            IParaGraphicEqSettings settings;
            settings.nBands = n(-2, 14);
            std::snprintf(settings.freqLabels, sizeof settings.freqLabels, "0, -5, 25, 100000%s", many.c_str());
            std::snprintf(settings.gainLabels, sizeof settings.gainLabels, "-90, 0, 2147483647%s", many.c_str());
            auto* eq = new IParaGraphicEq(&plug, IRECT(0, 0, n(0, 9000), n(0, 300)), p(), settings);
            for (int i = -1; i <= 10; ++i)
                eq->SetBand({i, n(-1, 3), float(n(-60, 60)), float(n(0, 2) ? n(-100, 40000) : 0), float(n(-3, 30)),
                             20, 20000, -24, 24, 0, float(n(0, 5))});
            return eq;
        },
    };
    Open();
    backend.openURLSucceeds = false;
    for (int round = 0; round < 3; ++round)
        for (const auto& make : makers) {
            IControl* c = Add(make());
            for (int e = 0; e < 40; ++e) {
                const int x = n(-50, 450), y = n(-50, 350);
                IMouseMod mod(n(0, 1), n(0, 1), n(0, 1), n(0, 1));
                switch (n(0, 9)) {
                    case 0: c->OnMouseDown(x, y, &mod); break;
                    case 1: c->OnMouseUp(x, y, &mod); break;
                    case 2: c->OnMouseDrag(x, y, n(-300, 300), n(-300, 300), &mod); break;
                    case 3: c->OnMouseDblClick(x, y, &mod); break;
                    case 4: c->OnMouseWheel(x, y, &mod, n(-200, 200)); break;
                    case 5: c->OnKeyDown(x, y, n(-1, 45)); break;
                    case 6: c->AfterGUIResize(n(0, 4) * 0.5); break;
                    case 7: c->SetValueFromPlug(n(-10, 20) / 10.0); break;
                    case 8:  // the operations only some families have
                        if (auto* t = dynamic_cast<ITextControl2*>(c)) t->SetText2(big.c_str());
                        if (auto* u = dynamic_cast<IUserTextControl*>(c)) u->SetText(n(0, 1) ? big.c_str() : nullptr);
                        if (auto* b = dynamic_cast<IBitmapTextControl*>(c)) b->SetText(big.c_str());
                        if (auto* v = dynamic_cast<ISpinnerControl*>(c)) v->PromptValue(r());
                        if (auto* eq = dynamic_cast<IParaGraphicEq*>(c)) eq->UpdateSelectedPosition();
                        break;
                    default: c->IsHit(x, y), c->IsDirty(), c->TextFromTextEntry(big.c_str());
                }
                if (hv->ActiveTextField()) hv->ActiveTextField()->PressEscape();
            }
            c->AfterGUIResize(1.0);
            DrawAlone(c);
            if (auto* eq = dynamic_cast<IParaGraphicEq*>(c)) {
                ASSERT_EQ(int(eq->SummedCurve().size()), c->GetRECT()->W());
                for (float v : eq->SummedCurve()) ASSERT_TRUE(std::isfinite(v));
            }
            EXPECT_EQ(c->GetValue(), c->GetValue()) << "no NaN value";
        }
}
