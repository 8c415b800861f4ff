// A whole editor on the headless back end: settings in a scratch config folder, the
// skin images the build draws, and a MIDI output that records every message.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/qd_editor.h"
#include "gui/control.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "temp_dir.h"

namespace livetest {

using Bytes = std::vector<uint8_t>;

struct RecordingOutput : IMidiOutput {
    std::vector<Bytes> sent;
    bool SendMessage(const uint8_t* bytes, int size) override {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
};

class LiveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        platform::InstallBackend(&backend);
        platform::BundleInfo bundle;
        bundle.identifier = "qd.live.test";
        bundle.resourcesPath = QD_SKIN_ROOT;
        platform::RegisterBundle(bundle);
        IModuleGUIResize::ResetProcessState();
        mkdir((dir.path() + "/RODiradu4").c_str(), 0700);
        ini = dir.path() + "/RODiradu4/settings.ini";
    }
    void TearDown() override {
        editor.reset();
        platform::InstallBackend(nullptr);
    }

    // A new editor; non-empty `settings` replace settings.ini first.
    QDEditor* Make(const std::string& settings = "", const char* outdev = "QD out") {
        if (!settings.empty()) std::ofstream(ini) << settings;
        std::snprintf(devices.mOutDevice, sizeof devices.mOutDevice, "%s", outdev);
        QDEditorSetup setup;
        setup.midiOut = &output;
        setup.devices = &devices;
        setup.settingsPath = ini;
        setup.bundleID = "qd.live.test";
        editor = std::make_unique<QDEditor>(setup);
        editor->ReloadGUIScale();  // as the shell's start-up does: the view layout runs
        output.sent.clear();
        return editor.get();
    }
    IGraphics* G() { return editor->Graphics(); }

    std::vector<IControl*> Bound(int param) {
        std::vector<IControl*> found;
        for (int i = 0; i < G()->NControls(); ++i)
            if (G()->GetControl(i)->ParamIdx() == param) found.push_back(G()->GetControl(i));
        return found;
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

    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    std::string ini;
    DeviceSettings devices;
    RecordingOutput output;
    std::unique_ptr<QDEditor> editor;
};

}  // namespace livetest
