// The editor fixture of the core's tests (headless back end, scratch settings, a
// recording MIDI output), with what the live panel's tests look at: shown and hidden
// controls, rescales and edits as the controls send them.
#pragma once

#include <string>
#include <vector>

#include "editor/editor_fixture.h"

namespace livetest {

using Bytes = std::vector<uint8_t>;

class LiveTest : public edtest::EditorTest {
protected:
    // A new editor playing on a named output; non-empty `settings` replace settings.ini
    // first. The view layout runs once, as at the shell's start-up.
    QDEditor* Make(const std::string& settings = "", const char* outdev = "QD out") {
        if (!settings.empty()) WriteIni(settings);
        EditorTest::Make(outdev);
        editor->ReloadGUIScale();
        output.sent.clear();
        return editor.get();
    }

    IControl* First(int param) {
        auto all = Bound(param);
        return all.empty() ? nullptr : all.front();
    }
    // True when every control of `param` is shown (false also when it has none).
    bool Shown(int param) {
        auto all = Bound(param);
        if (all.empty()) return false;
        for (IControl* c : all)
            if (c->IsHidden()) return false;
        return true;
    }
    // The hidden flag of every control, in list order.
    std::vector<bool> Visibility() {
        std::vector<bool> v;
        for (int i = 0; i < G()->NControls(); ++i) v.push_back(G()->GetControl(i)->IsHidden());
        return v;
    }
    // Applies the view layout, as every rescale does.
    void Rescale(double scale) {
        editor->GetGUIResize()->SetGUIScaleRatio(scale);
        editor->GetGUIResize()->ResizeToStoredScale();
    }
    void SetParam(int param, double value) { editor->SetParameterFromGUI2(param, value); }
    // A user edit, as a control sends it.
    void Edit(int param, double value) {
        editor->SetParameterFromGUI(param, editor->GetParam(param)->GetNormalized(value));
    }
};

}  // namespace livetest
