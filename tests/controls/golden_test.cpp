// One picture per drawing family, checked by eye once: any change in drawing shows up.
#include <functional>

#include "controls_fixture.h"
#include "gui/controls/fader_control.h"
#include "gui/controls/knob_controls.h"
#include "gui/controls/para_eq_graph.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/controls/user_text_controls.h"
#include "gui/controls/value_text_controls.h"
#include "support/golden.h"

using namespace ctltest;

TEST_F(ControlsFixture, EachFamilyDrawsAsItsGolden) {
    IText white(12, COLOR_WHITE), secure(12, COLOR_YELLOW);
    secure.entryKind = IText::kEntrySecure;
    IParaGraphicEqSettings eqSettings;
    eqSettings.minFreq = 20, eqSettings.maxFreq = 12000, eqSettings.minGain = -24, eqSettings.maxGain = 24;
    eqSettings.handleRadius = 4;
    std::snprintf(eqSettings.freqLabels, sizeof eqSettings.freqLabels, "50, 100, 500, 1000, 5000");
    std::snprintf(eqSettings.gainLabels, sizeof eqSettings.gainLabels, "-12, 0, 12");
    const std::pair<const char*, std::function<void()>> families[] = {
        {"controls_switches", [&] {
             Add(new IRadioButtonsControl(&plug, IRECT(10, 10, 30, 110), -1, 4, Strip(2, 20, 12)))->SetValueFromPlug(2 / 3.0);
             Add(new ISwitchControl(&plug, 60, 10, -1, Strip(4, 30, 20)))->SetValueFromPlug(2 / 3.0);
             Add(new ISwitchFramesControl(&plug, 120, 10, -1, Strip(3, 40, 15, true), true))->SetValueFromPlug(1.0);
             Add(new IBitmapOverlayControl(&plug, 200, 100, Strip(2, 150, 120), IRECT(0, 0, 5, 5)))->SetValueFromPlug(1);
         }},
        {"controls_knobs", [&] {
             for (int i = 0; i < 5; ++i)
                 Add(new IKnobLineControl(&plug, IRECT(10 + 60 * i, 10, 60 + 60 * i, 60), -1, &COLOR_ORANGE, 6.0, 0.0,
                                          -2.356, 2.356))->SetValueFromPlug(i / 4.0);
             Add(new IKnobMultiControl(&plug, 10, 80, -1, Strip(16, 24, 24)))->SetValueFromPlug(0.4);
             Add(new IFaderControl(&plug, 60, 80, 200, -1, Strip(1, 16, 24)))->SetValueFromPlug(0.25);
             Add(new IFaderControl(&plug, 100, 100, 250, -1, Strip(1, 24, 16), IFaderControl::kHorizontal))
                 ->SetValueFromPlug(0.75);
         }},
        {"controls_texts", [&] {
             Add(new ITextControl(&plug, IRECT(10, 10, 200, 30), &white, "Centred text"));
             auto* bg = Add(new IEditableTextControl(&plug, IRECT(10, 40, 200, 60), -1, &white, "secret", false, true));
             bg->SetBackgroundColor(&COLOR_BLUE);
             Add(new IUserTextControl(&plug, IRECT(10, 70, 200, 90), &secure, "password"));
             plug.GetParam(kParamMidi)->Set(99);
             Add(new ICaptionControl(&plug, IRECT(10, 100, 200, 120), kParamMidi, &white, true));
         }},
        {"controls_eq_graph", [&] {
             auto* eq = Add(new IParaGraphicEq(&plug, IRECT(20, 20, 380, 280), -1, eqSettings));
             const IParaGraphicEqBand bands[] = {{0, 1, 6, 80, 2, 20, 12000, -24, 24, 0.5f, 4},
                                                 {1, 0, -9, 400, 1, 20, 12000, -24, 24, 0.1f, 3},
                                                 {2, 0, 12, 2500, 0.5f, 20, 12000, -24, 24, 0.1f, 3},
                                                 {3, 2, -6, 8000, 3, 20, 12000, -24, 24, 0.5f, 4}};
             for (const auto& b : bands) eq->SetBand(b);
             graphics->PrepDraw();
             eq->Draw(graphics);  // learns its size, so that the handle can be grabbed
             const int hx = 20 + int(360 * eq->FreqToX(2500)), hy = 20 + int(260 * (1 - eq->GainToY(12)));
             eq->OnMouseDown(hx, hy, &left);
         }},
    };
    for (const auto& [name, build] : families) {
        const int first = graphics->NControls();
        build();
        ASSERT_TRUE(graphics->PrepDraw());
        IRECT all(0, 0, 400, 300);
        graphics->FillIRect(&COLOR_BLACK, &all, nullptr);
        graphics->Draw(&all);
        EXPECT_TRUE(testutil::MatchesGolden(*graphics->GetDrawBitmap(), name));
        for (int i = first; i < graphics->NControls(); ++i) graphics->GetControl(i)->Hide(true);
    }
}
