// Every control of the library under random rectangles, values, events and scales:
// run under the sanitizers, it finds any division, index or copy that goes astray.
#include <functional>
#include <random>
#include <string>

#include "controls_fixture.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/file_selector_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/select_controls.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/url_control.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"

using namespace ctltest;

namespace {

using RandomEvents = ControlsFixture;

TEST_F(RandomEvents, NoControlMisbehavesOnAnyInput) {
    std::mt19937 rng(20261206);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto rect = [&] {
        const int l = pick(-20, 380), t = pick(-20, 280);
        return pick(0, 5) == 0 ? IRECT(l, t, l, t + pick(0, 3)) : IRECT(l, t, l + pick(1, 120), t + pick(1, 90));
    };
    auto strip = [&] { return Strip(pick(1, 5), pick(1, 30), pick(1, 30), pick(0, 1)); };
    auto param = [&] { return pick(-1, kNParams - 1); };
    IText text(pick(1, 30), COLOR_WHITE);
    text.mEntryKind = pick(0, 1);
    IParam own;
    own.InitInt("own", 3, 0, 9);
    const std::string longText(300, 'u');

    const std::vector<std::function<IControl*()>> makers = {
        [&] { return new IBitmapControl(&plug, pick(-5, 300), pick(-5, 200), param(), strip()); },
        [&] { return new ISwitchControl(&plug, pick(0, 300), pick(0, 200), param(), strip()); },
        [&] { return new ISwitchFramesControl(&plug, pick(0, 300), pick(0, 200), param(), strip(), pick(0, 1)); },
        [&] { return new IContactControl(&plug, pick(0, 300), pick(0, 200), param(), strip()); },
        [&] { return new IBitmapOverlayControl(&plug, pick(0, 300), pick(0, 200), strip(), rect()); },
        [&] { return new IInvisibleSwitchControl(&plug, rect(), param()); },
        [&] { return new IRadioButtonsControl(&plug, rect(), param(), pick(0, 6), strip(), pick(0, 3)); },
        [&] { return new ITextControl(&plug, rect(), &text, "some text"); },
        [&] { return new IEditableTextControl(&plug, rect(), param(), &text, longText.c_str(), false, pick(0, 1)); },
        [&] { return new ITextControl2(&plug, rect(), param(), &text); },
        [&] { return new IFaderControl(&plug, pick(0, 300), pick(0, 200), pick(0, 60), param(), strip(), pick(0, 1),
                                       pick(0, 1)); },
        [&] { return new IKnobLineControl(&plug, rect(), param(), &COLOR_RED, pick(0, 10), pick(0, 30)); },
        [&] { return new IKnobRotaterControl(&plug, pick(0, 300), pick(0, 200), param(), strip()); },
        [&] { return new IKnobMultiControl(&plug, pick(0, 300), pick(0, 200), param(), strip(), pick(0, 1)); },
        [&] { return new IKnobMultiControl2(&plug, pick(0, 300), pick(0, 200), param(), strip()); },
        [&] { return new IKnobMultiControl3(&plug, pick(0, 300), pick(0, 200), param(), strip()); },
        [&] {
            IBitmapStrip* base = Strip(1, 20, 20);
            return new IKnobRotatingMaskControl(&plug, pick(0, 300), pick(0, 200), param(), base, Strip(1, 20, 20),
                                                Strip(1, 20, 20));
        },
        [&] { return new IInvisibleSelectControl(&plug, rect(), param()); },
        [&] { return new IInvisibleSelectControl2(&plug, rect(), param(), pick(0, 1)); },
        [&] { return new IInvisibleSelectControl3(&plug, rect(), param(), pick(0, 1)); },
        [&] {
            auto* m = new IInvisibleMatrixSelectControl(&plug, rect(), param());
            if (pick(0, 3)) m->SetGrid(pick(-1, 9), pick(-1, 30));
            return m;
        },
        [&] { return new ISpinnerControl(&plug, rect(), param(), &text, pick(0, 1) ? &own : nullptr, true, true,
                                         pick(0, 1), pick(0, 3)); },
        [&] { return new ICaptionControl(&plug, rect(), param(), &text, pick(0, 1)); },
        [&] { return new IURLControl(&plug, rect(), longText.c_str(), "", longText.c_str()); },
        [&] { return new IFileSelectorControl(&plug, rect(), param(), strip(), pick(0, 1), "/tmp/", "syx"); },
        [&] { return new IUserTextControl(&plug, rect(), &text, "pw"); },
        [&] { return new AlgDisplay(&plug, rect(), &text, "12"); },
        [&] {
            IParaGraphicEqSettings s;
            s.nBands = pick(-2, 14);
            return new IParaGraphicEq(&plug, rect(), param(), s);
        },
    };
    Open();
    backend.openURLSucceeds = false;
    for (int round = 0; round < 3; ++round) {
        for (const auto& make : makers) {
            IControl* c = make();
            graphics->AttachControl(c);
            for (int e = 0; e < 40; ++e) {
                const int x = pick(-50, 450), y = pick(-50, 350);
                IMouseMod mod(pick(0, 1), pick(0, 1), pick(0, 1), pick(0, 1));
                switch (pick(0, 8)) {
                    case 0: c->OnMouseDown(x, y, &mod); break;
                    case 1: c->OnMouseUp(x, y, &mod); break;
                    case 2: c->OnMouseDrag(x, y, pick(-300, 300), pick(-300, 300), &mod); break;
                    case 3: c->OnMouseDblClick(x, y, &mod); break;
                    case 4: c->OnMouseWheel(x, y, &mod, pick(-200, 200)); break;
                    case 5: c->OnKeyDown(x, y, pick(-1, 45)); break;
                    case 6: c->AfterGUIResize(pick(0, 4) * 0.5); break;
                    case 7: c->SetValueFromPlug(pick(-10, 20) / 10.0); break;
                    default: c->IsHit(x, y); c->IsDirty(); c->TextFromTextEntry(longText.c_str()); break;
                }
                if (hv->ActiveTextField()) hv->ActiveTextField()->PressEscape();
            }
            c->AfterGUIResize(1.0);
            DrawAlone(c);
            EXPECT_TRUE(c->GetValue() == c->GetValue()) << "no NaN value";
        }
    }
}

}  // namespace
