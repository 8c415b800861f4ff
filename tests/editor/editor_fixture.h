// An editor on the headless back end, with its settings in a scratch config folder,
// the skin images the build draws, and a MIDI output that records what it is sent.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "editor/qd_editor.h"
#include "gui/control.h"
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

struct RecordingOutput : IMidiOutput {
    std::vector<std::vector<uint8_t>> sent;
    bool SendMessage(const uint8_t* bytes, int size) override {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
};

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

    void WriteIni(const std::string& text) { std::ofstream(ini) << text; }
    std::string Ini(const char* section, const char* key) {
        char buf[256];
        GetPrivateProfileString(section, key, "<missing>", buf, sizeof buf, ini.c_str());
        return buf;
    }

    QDEditor* Make(const char* outdev = "off") {
        std::snprintf(devices.mOutDevice, sizeof devices.mOutDevice, "%s", outdev);
        QDEditorSetup setup;
        setup.midiOut = &output;
        setup.devices = &devices;
        setup.settingsPath = ini;
        setup.bundleID = kBundle;
        setup.makePanel = qd::MakeEditorScreens;
        editor = std::make_unique<QDEditor>(setup);
        return editor.get();
    }
    IGraphics* G() { return editor->Graphics(); }
    // The panel the editor was made with.
    qd::EditorScreens* Screens() { return static_cast<qd::EditorScreens*>(editor->Panel()); }

    // Every attached control bound to `param`.
    std::vector<IControl*> Bound(int param) {
        std::vector<IControl*> found;
        for (int i = 0; i < G()->NControls(); ++i)
            if (G()->GetControl(i)->ParamIdx() == param) found.push_back(G()->GetControl(i));
        return found;
    }

    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    std::string ini;
    DeviceSettings devices;
    RecordingOutput output;
    std::unique_ptr<QDEditor> editor;
};

}  // namespace edtest
