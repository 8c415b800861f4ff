// The shell: its settings folder and MIDI choice, its MIDI ports when the system has
// none to give, and whole runs of the program on the headless back end.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "app/app_start.h"
#include "editor/menu_commands.h"
#include "platform/headless_backend.h"
#include "temp_dir.h"
#include "winapi/profile.h"

namespace fs = std::filesystem;

static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// The settings folder is made private, parents and all; the devices are read and written
// back, or set to "off" on a first run. Cases: settings.ini (null: none), the devices.
TEST(DeviceSettings, ReadAndWrittenBackOrOffOnAFirstRunInAPrivateFolder) {
    const char* cases[][4] = {
        {nullptr, "off", "off", "off"},
        {"[midi]\nindev=Keys In\ninBdev=off\noutdev=QD Out\n", "Keys In", "off", "QD Out"},
        {"[midi]\noutdev=QD Out\n", "no input", "no input", "QD Out"},
        {"[gui]\nbackground=lcd\n", "no input", "no input", "no output"},
    };
    for (const auto& c : cases) {
        testutil::TempDir dir;
        const std::string config = dir.path() + "/new/config";
        if (c[0]) testutil::WriteSettings(config, c[0]);
        const mode_t old = umask(022);
        const qdapp::SettingsLocation where = qdapp::PrepareSettingsFolder(config);
        umask(old);
        EXPECT_EQ(std::tuple(fs::status(where.folder).permissions(), where.existed, where.iniPath),
                  std::tuple(fs::perms::owner_all, c[0] != nullptr, config + "/RODiradu4/settings.ini"));
        DeviceSettings devices;
        qdapp::LoadDeviceSettings(where, &devices);
        std::vector<std::string> got;  // each device as read, and as written back
        for (auto [key, value] : {std::pair("indev", devices.mInDevice), std::pair("inBdev", devices.mInBDevice),
                                  std::pair("outdev", devices.mOutDevice)}) {
            char stored[100];
            GetPrivateProfileString("midi", key, "<missing>", stored, sizeof stored, where.iniPath.c_str());
            got.insert(got.end(), {value, stored});
        }
        EXPECT_EQ(got, (std::vector<std::string>{c[1], c[1], c[2], c[2], c[3], c[3]}));
    }
}

struct AppRun : ::testing::Test {
    void SetUp() override { platform::InstallBackend(&mBackend); }
    void TearDown() override { platform::InstallBackend(nullptr); }

    std::unique_ptr<qdapp::EditorApp> Start(const std::string& resources = QD_SKIN_ROOT) {
        mOut.str("");
        mErr.str("");
        auto app = testutil::MakeApp(&mBackend, mConfig, &mOut, &mErr, resources);
        EXPECT_TRUE(app->Start());
        return app;
    }
    platform::MenuItem* Item(qdapp::EditorApp& app, const std::string& title) {
        platform::Menu* bar = mBackend.MenuBarOf(app.MainWindow());
        for (int i = 0; bar && i < bar->NumberOfItems(); ++i)
            for (int k = 0; k < bar->ItemAt(i)->submenu->NumberOfItems(); ++k)
                if (platform::MenuItem* item = bar->ItemAt(i)->submenu->ItemAt(k); item->title == title) return item;
        return nullptr;
    }
    // Chooses a skin, the manager view and a scale from the menu bar, as the user would.
    void ChangeEverything(qdapp::EditorApp& app) {
        for (const char* title : {"Skin \"lcd\" (from the next start)", "Program Manager", "Scale 50 %"}) {
            platform::MenuItem* item = Item(app, title);
            ASSERT_NE(item, nullptr) << title;
            item->target->OnMenuSelection(item);
        }
        EXPECT_EQ(app.MainWindow()->ScreenFrame().width, 570);  // running, at the new scale
    }

    testutil::TempDir mDir;
    std::string mConfig = mDir.path();
    testutil::ScopedEnv mConfigHome{"XDG_CONFIG_HOME", mConfig.c_str()};
    platform::HeadlessBackend mBackend;
    std::ostringstream mOut, mErr;
};

TEST_F(AppRun, FirstRunShowsTheCentredPanelAndClosingStoresTheSettings) {
    auto app = Start();
    const platform::Rect frame = app->MainWindow()->ScreenFrame();
    EXPECT_EQ(std::tuple(mBackend.IsShown(app->MainWindow()), frame.width, frame.height, frame.x, frame.y),
              std::tuple(true, 1140, 800, 390, 125));
    const std::string out = mOut.str();
    EXPECT_EQ(std::tuple(Count(out, "MIDI output ports"), Count(out, "couldn't attach gui"), app->OutputOpen()),
              std::tuple(1, 0, false));
    EXPECT_LE(Count(mErr.str(), "MIDI"), 1);  // without a sequencer every port fails; one line says so
    for (const qd::MenuEntry& e : qd::MenuEntries()) EXPECT_TRUE(!e.text || Item(*app, e.text)) << e.text;
    ChangeEverything(*app);
    EXPECT_TRUE(mBackend.RequestClose(app->MainWindow()));
    app->Stop();
    app->Stop();
    const std::string ini = testutil::ReadFile(mConfig + "/RODiradu4/settings.ini");
    for (const char* line : {"indev=off", "inBdev=off", "outdev=off", "background=lcd", "manager=true",
                             "guiscale=0.500000000000000"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;

    // A stored port that is no longer there is off for the run.
    testutil::WriteSettings(mConfig, "[midi]\noutdev=Gone Port\n");
    EXPECT_STREQ(Start()->Devices().mOutDevice, "off");
}

// Settings that cannot be kept and images that cannot be found are each told once, in
// one line on the error stream, and the program runs on.
TEST_F(AppRun, WhatCannotBeKeptOrFoundIsToldOnceAndTheProgramRunsOn) {
    const struct {
        const char* name;
        const char* settings;  // the file that cannot be written, under the case's folder; null: none
        std::function<void(const std::string& root)> make;
    } cases[] = {
        {"settings.ini is a folder", "/RODiradu4/settings.ini",
         [](const std::string& root) { fs::create_directories(root + "/RODiradu4/settings.ini"); }},
        {"settings.ini is a FIFO (it used to hang the start)", "/RODiradu4/settings.ini",
         [](const std::string& r) { mkfifo((r + "/RODiradu4/settings.ini").c_str(), 0600); }},
        {"no settings folder can be made", "/file/RODiradu4/settings.ini",
         [](const std::string& root) { std::ofstream(root + "/file") << "x"; }},
        {"no images", nullptr, [](const std::string&) {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testutil::TempDir root;
        fs::create_directories(root.path() + "/RODiradu4");
        c.make(root.path());
        const bool noFolder = fs::is_regular_file(root.path() + "/file"), noImages = !c.settings;
        mConfig = noFolder ? root.path() + "/file" : root.path();
        mConfigHome.Set(mConfig.c_str());
        ASSERT_TRUE(testutil::RunsWithoutOpeningFifo(root.path() + "/RODiradu4/settings.ini", [&] {
            auto app = Start(noImages ? root.path() + "/Resources" : QD_SKIN_ROOT);
            ChangeEverything(*app);
            app->Stop();
        }));
        const std::string unwritable = "Cannot write the settings file ";
        EXPECT_EQ(Count(mErr.str(), unwritable), c.settings ? 1 : 0) << mErr.str();
        if (c.settings) {
            EXPECT_NE(mErr.str().find(unwritable + root.path() + c.settings + ": "), std::string::npos) << mErr.str();
        }
        EXPECT_EQ(Count(mErr.str(), "Panel images not found: looked in " + root.path() + "/Resources."), noImages);
        EXPECT_EQ(Count(mOut.str(), "MIDI output ports (no settings file to put a choice in):"), noFolder);
        EXPECT_EQ(Count(mOut.str(), "outdev of ):"), 0);
    }
}
