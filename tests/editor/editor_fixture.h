// An editor on the headless back end, with its settings in a scratch config folder, the
// skin images the build draws and a MIDI output that records what it is sent; and what
// the tests look at: shown controls, rescales, edits as the controls send them.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/data/panel_plan.h"
#include "editor/qd_editor.h"
#include "gui/controls/switch_controls.h"
#include "gui/controls/text_controls.h"
#include "gui/gui_resize.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "screens/editor_screens.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace edtest {

inline constexpr const char* kBundle = "qd.editor.test";
using Bytes = std::vector<uint8_t>;

struct RecordingOutput : IMidiOutput {
    std::vector<Bytes> sent;
    bool SendMessage(const uint8_t* bytes, int size) override { return sent.emplace_back(bytes, bytes + size), true; }
};

// The attached controls of the whole GUI, in the order CreateGUI makes them.
inline std::vector<qd::PlanItem> AttachedPlan(qd::Skin skin) {
    std::vector<qd::PlanItem> all;
    for (auto part :
         {qd::PanelPart::kSynthPage, qd::PanelPart::kKeyboard, qd::PanelPart::kManagerPage, qd::PanelPart::kAboutBox})
        for (qd::PlanItem& item : qd::PanelPlan(part, skin))
            if (item.kind != qd::ControlKind::kLoad && item.attached) all.push_back(std::move(item));
    return all;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(dir.path().empty());
        platform::InstallBackend(&backend);
        platform::BundleInfo bundle;
        bundle.identifier = kBundle;
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

    std::string Ini(const char* section, const char* key) {
        char buf[256];
        GetPrivateProfileString(section, key, "<missing>", buf, sizeof buf, ini.c_str());
        return buf;
    }

    // A new editor playing on a named output; non-empty `settings` replace settings.ini
    // first. The stored scale and the view layout are applied, as at the shell's start.
    QDEditor* Make(const std::string& settings = "", const char* outdev = "off", bool start = true) {
        editor.reset();  // it writes its settings as it goes
        if (!settings.empty()) std::ofstream(ini) << settings;
        std::snprintf(devices.outDevice, sizeof devices.outDevice, "%s", outdev);
        QDEditorSetup setup;
        setup.midiOut = &output;
        setup.devices = &devices;
        setup.settingsPath = ini;
        setup.bundleID = kBundle;
        setup.makePanel = qd::MakeEditorScreens;
        editor = std::make_unique<QDEditor>(setup);
        if (start) editor->ReloadGUIScale();
        return editor.get();
    }
    IGraphics* G() { return editor->Graphics(); }
    qd::EditorScreens* Screens() { return static_cast<qd::EditorScreens*>(editor->Panel()); }

    // Every attached control bound to `param`.
    std::vector<IControl*> Bound(int param) {
        std::vector<IControl*> found;
        for (int i = 0; i < G()->NControls(); ++i)
            if (G()->GetControl(i)->ParamIdx() == param) found.push_back(G()->GetControl(i));
        return found;
    }
    // True when every control of `param` is shown (false also when it has none).
    bool Shown(int param) {
        auto all = Bound(param);
        return !all.empty() && std::none_of(all.begin(), all.end(), [](IControl* c) { return c->IsHidden(); });
    }
    // Applies the view layout, as every rescale does.
    void Rescale(double scale) {
        editor->GetGUIResize()->SetGUIScaleRatio(scale);
        editor->GetGUIResize()->ResizeToStoredScale();
    }
    // A user edit, as a control sends it.
    void Edit(int p, double value) { editor->SetParameterFromGUI(p, editor->GetParam(p)->GetNormalized(value)); }

    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    std::string ini;
    DeviceSettings devices;
    RecordingOutput output;
    std::unique_ptr<QDEditor> editor;
};

}  // namespace edtest
