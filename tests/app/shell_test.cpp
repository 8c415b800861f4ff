// The shell: its settings folder and MIDI choice, its MIDI ports when the system has
// none to give, and a whole run of the program on the headless back end.
#include <gtest/gtest.h>

#include <tuple>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "app/editor_app.h"
#include "editor/menu_commands.h"
#include "gui/gui_resize.h"
#include "platform/folders.h"
#include "platform/headless_backend.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace fs = std::filesystem;

namespace {

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(DeviceSettings, ReadAndWrittenBackOrOffOnAFirstRun) {
    // before: settings.ini, null: no file (a first run); then the devices read and written back.
    const char* cases[][4] = {
        {nullptr, "off", "off", "off"},
        {"[midi]\nindev=Keys In\ninBdev=off\noutdev=QD Out\n", "Keys In", "off", "QD Out"},
        {"[midi]\noutdev=QD Out\n", "no input", "no input", "QD Out"},
        {"[gui]\nbackground=lcd\n", "no input", "no input", "no output"},
    };
    for (const auto& c : cases) {
        testutil::TempDir dir;
        if (c[0]) {
            mkdir((dir.path() + "/RODiradu4").c_str(), 0755);
            std::ofstream(dir.path() + "/RODiradu4/settings.ini") << c[0];
        }
        const qdapp::SettingsLocation where = qdapp::PrepareSettingsFolder(dir.path());
        EXPECT_EQ(where.existed, c[0] != nullptr);
        DeviceSettings devices;
        qdapp::LoadDeviceSettings(where, &devices);
        const std::pair<const char*, const char*> keys[] = {{"indev", devices.mInDevice}, {"inBdev", devices.mInBDevice},
                                                            {"outdev", devices.mOutDevice}};
        for (int k = 0; k < 3; ++k) {
            char value[100];
            GetPrivateProfileString("midi", keys[k].first, "<missing>", value, sizeof value, where.iniPath.c_str());
            EXPECT_STREQ(keys[k].second, c[k + 1]) << keys[k].first;
            EXPECT_STREQ(value, c[k + 1]) << keys[k].first << " written back";
        }
    }
}

TEST(SettingsFolder, MadePrivateWhateverTheUmaskAndMissingParents) {
    for (mode_t mask : {mode_t(0), mode_t(022), mode_t(077)}) {
        testutil::TempDir dir;
        const mode_t old = umask(mask);
        const qdapp::SettingsLocation where = qdapp::PrepareSettingsFolder(dir.path() + "/new/config");
        umask(old);
        struct stat st;
        ASSERT_EQ(stat(where.folder.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0700u) << "umask " << mask;
        EXPECT_EQ(where.iniPath, dir.path() + "/new/config/RODiradu4/settings.ini");
    }
    // A folder that cannot be made leaves no path to write to.
    EXPECT_TRUE(qdapp::PrepareSettingsFolder("/proc/no/such").iniPath.empty());
}

TEST(MidiPorts, UnknownPortsAndMissingMidiLeaveTheOutputOff) {
    std::ostringstream err;
    qdapp::MidiErrorLog log(err);
    qdapp::MidiOutputPort out(&log);
    EXPECT_FALSE(out.Open("off"));
    EXPECT_FALSE(out.Open("No Such Port 7"));
    EXPECT_FALSE(out.IsOpen());
    const uint8_t note[] = {0x90, 60, 100};
    EXPECT_FALSE(out.SendMessage(note, 3));
    qdapp::MidiInputPort in(&log, [](const uint8_t*, int) {});
    EXPECT_FALSE(in.Open("No Such Port 9"));
    // Without a sequencer every port fails; one line says so.
    const std::string text = err.str();
    EXPECT_EQ(text.find("MIDI"), text.rfind("MIDI"));
    EXPECT_EQ(qdapp::FindPort({"a", "off", "b"}, "off"), -1);
    EXPECT_EQ(qdapp::FindPort({"a", "b"}, "b"), 1);
}

class AppRun : public ::testing::Test {
protected:
    void SetUp() override {
        platform::InstallBackend(&backend);
        platform::BundleInfo bundle;
        bundle.identifier = "qd.app.test";
        bundle.resourcesPath = QD_SKIN_ROOT;
        platform::RegisterBundle(bundle);
        IModuleGUIResize::ResetProcessState();
        options.configDir = dir.path();
        options.bundleID = "qd.app.test";
        options.out = &out;
        options.err = &err;
    }
    void TearDown() override { platform::InstallBackend(nullptr); }

    platform::MenuItem* Item(qdapp::EditorApp& app, const std::string& title) {
        platform::Menu* bar = backend.MenuBarOf(app.MainWindow());
        for (int i = 0; bar && i < bar->NumberOfItems(); ++i) {
            platform::Menu* menu = bar->ItemAt(i)->submenu.get();
            for (int k = 0; menu && k < menu->NumberOfItems(); ++k)
                if (menu->ItemAt(k)->title == title) return menu->ItemAt(k);
        }
        return nullptr;
    }

    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::HeadlessBackend backend;
    qdapp::AppOptions options;
    std::ostringstream out, err;
};

TEST_F(AppRun, FirstRunShowsTheCentredPanelAndClosingStoresTheSettings) {
    qdapp::EditorApp app(&backend, options);
    ASSERT_TRUE(app.Start());
    EXPECT_TRUE(backend.IsShown(app.MainWindow()));
    const platform::Rect frame = app.MainWindow()->ScreenFrame();
    EXPECT_EQ(std::tuple(frame.width, frame.height, frame.x, frame.y), std::tuple(1140, 800, 390, 125));
    EXPECT_NE(out.str().find("MIDI output ports"), std::string::npos);
    EXPECT_EQ(out.str().find("couldn't attach gui"), std::string::npos);
    EXPECT_FALSE(app.OutputOpen());

    // Every menu entry is in the bar, and choosing one reaches the editor.
    for (const qd::MenuEntry& entry : qd::MenuEntries()) {
        if (entry.text) {
            EXPECT_NE(Item(app, entry.text), nullptr) << entry.text;
        }
    }
    Item(app, "Skin \"lcd\" (from the next start)")->target->OnMenuSelection(Item(app, "Skin \"lcd\" (from the next start)"));
    Item(app, "Program Manager")->target->OnMenuSelection(Item(app, "Program Manager"));
    Item(app, "Scale 50 %")->target->OnMenuSelection(Item(app, "Scale 50 %"));
    EXPECT_EQ(app.MainWindow()->ScreenFrame().width, 570);

    EXPECT_TRUE(backend.RequestClose(app.MainWindow()));
    app.Stop();
    const std::string ini = Read(dir.path() + "/RODiradu4/settings.ini");
    for (const char* line : {"indev=off", "inBdev=off", "outdev=off", "background=lcd", "manager=true",
                             "guiscale=0.500000000000000"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
}

TEST_F(AppRun, StoredScaleTooTallForTheScreenIsLoweredAtStart) {
    backend.workArea = {0, 0, 1280, 600};
    mkdir((dir.path() + "/RODiradu4").c_str(), 0700);
    std::ofstream(dir.path() + "/RODiradu4/settings.ini") << "[gui]\nguiscale=2.0\n[midi]\noutdev=Gone Port\n";
    qdapp::EditorApp app(&backend, options);
    ASSERT_TRUE(app.Start());
    EXPECT_LE(app.MainWindow()->ScreenFrame().height, 600);
    EXPECT_STREQ(app.Devices().mOutDevice, "off");
    app.Stop();
    app.Stop();
}

namespace {

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

// Settings that cannot be kept and images that cannot be found are each told once, in
// one line on the error stream, and the program runs on.
TEST_F(AppRun, WhatCannotBeKeptOrFoundIsToldOnceAndTheProgramRunsOn) {
    const struct {
        const char* name;
        const char* settings;  // the file that cannot be written, under the case's folder; null: none
        std::function<void(const std::string& root)> make;
        bool noImages;
    } cases[] = {
        {"settings.ini is a folder", "/RODiradu4/settings.ini",
         [](const std::string& root) { fs::create_directories(root + "/RODiradu4/settings.ini"); }, false},
        // It used to hang the start before any window.
        {"settings.ini is a FIFO", "/RODiradu4/settings.ini",
         [](const std::string& root) {
             fs::create_directories(root + "/RODiradu4");
             mkfifo((root + "/RODiradu4/settings.ini").c_str(), 0600);
         },
         false},
        {"no settings folder can be made", "/file/RODiradu4/settings.ini",
         [](const std::string& root) { std::ofstream(root + "/file") << "x"; }, false},
        {"no images", nullptr, [](const std::string&) {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testutil::TempDir root;
        c.make(root.path());
        const bool noFolder = fs::is_regular_file(root.path() + "/file");
        options.configDir = noFolder ? root.path() + "/file" : root.path();
        config.Set(options.configDir.c_str());
        platform::BundleInfo bundle;
        bundle.identifier = "qd.app.test";
        bundle.resourcesPath = c.noImages ? root.path() + "/Resources" : QD_SKIN_ROOT;
        platform::RegisterBundle(bundle);
        IModuleGUIResize::ResetProcessState();
        out.str("");
        err.str("");
        ASSERT_TRUE(testutil::RunsWithoutOpeningFifo(root.path() + "/RODiradu4/settings.ini", [&] {
            qdapp::EditorApp app(&backend, options);
            ASSERT_TRUE(app.Start());
            for (const char* title : {"Skin \"lcd\" (from the next start)", "Program Manager", "Scale 50 %"})
                Item(app, title)->target->OnMenuSelection(Item(app, title));
            EXPECT_EQ(app.MainWindow()->ScreenFrame().width, 570);  // still running, at the new scale
            app.Stop();
        }));
        const std::string unwritable = "Cannot write the settings file ";
        EXPECT_EQ(Count(err.str(), unwritable), c.settings ? 1 : 0) << err.str();
        if (c.settings) {
            EXPECT_NE(err.str().find(unwritable + root.path() + c.settings + ": "), std::string::npos) << err.str();
        }
        EXPECT_EQ(Count(err.str(), "Panel images not found: looked in " + root.path() + "/Resources."), c.noImages);
        EXPECT_EQ(Count(out.str(), "MIDI output ports (no settings file to put a choice in):"), noFolder);
        EXPECT_EQ(Count(out.str(), "outdev of ):"), 0);
    }
}
