// The shell: its settings folder and MIDI choice, its MIDI ports when the system has
// none to give, and whole runs of the program on the headless back end.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <tuple>

#include "app/app_start.h"
#include "editor/menu_commands.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
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
        for (auto [key, value] : {std::pair("indev", devices.inDevice), std::pair("inBdev", devices.inBDevice),
                                  std::pair("outdev", devices.outDevice)}) {
            char stored[100];
            GetPrivateProfileString("midi", key, "<missing>", stored, sizeof stored, where.iniPath.c_str());
            got.insert(got.end(), {value, stored});
        }
        EXPECT_EQ(got, (std::vector<std::string>{c[1], c[1], c[2], c[2], c[3], c[3]}));
    }
}

// A name longer than the record (99 bytes and the end) could only be cut, and a cut
// name may name another port: the device is "off" for the run and its key is never
// written, so the file keeps what the user wrote. Cases: indev, inBdev, outdev as
// written; each record as read ("off" for a name too long).
TEST(DeviceSettings, NamesTooLongForTheRecordAreOffAndKeptAsWritten) {
    const std::string fits(99, 'k'), byOne(100, 'i'), long121 = "QD MIDI " + std::string(113, 'o');
    const std::string accented = std::string(98, 'u') + "\xC3\xA9";  // 100 bytes; a cut would keep 98
    const std::string cases[][6] = {
        {byOne, fits, long121, "off", fits, "off"},
        {fits, accented, "QD Out", fits, "off", "QD Out"},
    };
    for (const auto& c : cases) {
        testutil::TempDir dir;
        const std::string text = "[midi]\nindev=" + c[0] + "\ninBdev=" + c[1] + "\noutdev=" + c[2] + "\n";
        const std::string ini = testutil::WriteSettings(dir.path(), text);
        const qdapp::SettingsLocation where = qdapp::PrepareSettingsFolder(dir.path());
        DeviceSettings devices;
        const qdapp::LongDeviceNames tooLong = qdapp::LoadDeviceSettings(where, &devices);
        EXPECT_EQ(std::vector<std::string>({devices.inDevice, devices.inBDevice, devices.outDevice}),
                  std::vector<std::string>({c[3], c[4], c[5]}));
        EXPECT_EQ(std::tuple(tooLong.in, tooLong.inB, tooLong.out),
                  std::tuple(c[0].size() > 99, c[1].size() > 99, c[2].size() > 99));
        // Written back at start, and again after a port was not found, as written.
        EXPECT_EQ(testutil::ReadFile(ini), text);
        std::snprintf(devices.outDevice, sizeof devices.outDevice, "off");
        qdapp::StoreDeviceSettings(where, devices, tooLong);
        EXPECT_EQ(testutil::ReadFile(ini),
                  c[2].size() > 99 ? text : "[midi]\nindev=" + c[0] + "\ninBdev=" + c[1] + "\noutdev=off\n");
    }
}

// Without a port of the name, or without MIDI at all, nothing opens and the output
// refuses to send, also through the plug-in's send path; why is told in one line.
TEST(MidiPorts, UnknownPortsAndMissingMidiLeaveTheOutputOff) {
    std::ostringstream err;
    qdapp::MidiErrorLog log(err);
    qdapp::MidiOutputPort out(&log);
    qdapp::MidiInputPort in(&log, [](const uint8_t*, int) { ADD_FAILURE() << "an input port was opened"; });
    for (const std::string& name : std::vector<std::string>{"off", "No Such Port 7", "", std::string(121, 'x')}) {
        EXPECT_EQ(std::tuple(out.Open(name), in.Open(name), out.IsOpen(), in.IsOpen()),
                  std::tuple(false, false, false, false))
            << name;
    }
    const uint8_t note[] = {0x90, 60, 100}, sysex[] = {0xf0, 0x7e, 0x7f, 0x06, 0x01, 0xf7};
    EXPECT_FALSE(out.SendMessage(note, 3));
    IModuleStandalone plug(0, &out);
    IMidiMessage noteOn(0, 0x90, 60, 100);
    ISysExMessage message(0, sysex, int(sizeof sysex));
    EXPECT_EQ(std::pair(plug.SendMidiMsg(&noteOn), plug.SendSysEx(&message)), std::pair(false, false));
    // One line at most; without a sequencer, that line says MIDI is off.
    const std::string text = err.str();
    EXPECT_LE(Count(text, "\n"), 1) << text;
    if (!fs::exists("/dev/snd/seq")) {
        EXPECT_EQ(text.rfind("MIDI unavailable, treated as \"off\": ", 0), 0u) << text;
    }
    EXPECT_EQ(std::tuple(qdapp::FindPort({"a", "off", "b"}, "off"), qdapp::FindPort({"a", "b"}, "b"),
                         qdapp::FindPort({"a", ""}, ""), qdapp::FindPort({"a b"}, "a")),
              std::tuple(-1, 1, -1, -1));
}

struct AppRun : ::testing::Test {
    void SetUp() override { platform::InstallBackend(&backend); }
    void TearDown() override { platform::InstallBackend(nullptr); }

    std::unique_ptr<qdapp::EditorApp> Start(const std::string& resources = QD_SKIN_ROOT) {
        out.str("");
        err.str("");
        auto app = testutil::MakeApp(&backend, config, &out, &err, resources);
        EXPECT_TRUE(app->Start());
        return app;
    }
    platform::MenuItem* Item(qdapp::EditorApp& app, const std::string& title) {
        platform::Menu* bar = backend.MenuBarOf(app.MainWindow());
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

    testutil::TempDir dir;
    std::string config = dir.path();
    testutil::ScopedEnv configHome{"XDG_CONFIG_HOME", config.c_str()};
    platform::HeadlessBackend backend;
    std::ostringstream out, err;
};

TEST_F(AppRun, FirstRunShowsTheCentredPanelAndClosingStoresTheSettings) {
    auto app = Start();
    const platform::Rect frame = app->MainWindow()->ScreenFrame();
    EXPECT_EQ(std::tuple(backend.IsShown(app->MainWindow()), frame.width, frame.height, frame.x, frame.y),
              std::tuple(true, 1140, 800, 390, 125));
    const std::string printed = out.str();
    EXPECT_EQ(std::tuple(Count(printed, "MIDI output ports"), Count(printed, "couldn't attach gui"), app->OutputOpen()),
              std::tuple(1, 0, false));
    EXPECT_LE(Count(err.str(), "MIDI"), 1);  // without a sequencer every port fails; one line says so
    for (const qd::MenuEntry& e : qd::MenuEntries()) EXPECT_TRUE(!e.text || Item(*app, e.text)) << e.text;
    ChangeEverything(*app);
    EXPECT_TRUE(backend.RequestClose(app->MainWindow()));
    app->Stop();
    app->Stop();
    const std::string ini = testutil::ReadFile(config + "/RODiradu4/settings.ini");
    for (const char* line : {"indev=off", "inBdev=off", "outdev=off", "background=lcd", "manager=true",
                             "guiscale=0.500000000000000"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;

    // A stored port that is no longer there is off for the run.
    testutil::WriteSettings(config, "[midi]\noutdev=Gone Port\n");
    EXPECT_STREQ(Start()->Devices().outDevice, "off");
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
        config = noFolder ? root.path() + "/file" : root.path();
        configHome.Set(config.c_str());
        ASSERT_TRUE(testutil::RunsWithoutOpeningFifo(root.path() + "/RODiradu4/settings.ini", [&] {
            auto app = Start(noImages ? root.path() + "/Resources" : QD_SKIN_ROOT);
            ChangeEverything(*app);
            app->Stop();
        }));
        const std::string unwritable = "Cannot write the settings file ";
        EXPECT_EQ(Count(err.str(), unwritable), c.settings ? 1 : 0) << err.str();
        if (c.settings) {
            EXPECT_NE(err.str().find(unwritable + root.path() + c.settings + ": "), std::string::npos) << err.str();
        }
        EXPECT_EQ(Count(err.str(), "Panel images not found: looked in " + root.path() + "/Resources."), noImages);
        EXPECT_EQ(Count(out.str(), "MIDI output ports (no settings file to put a choice in):"), noFolder);
        EXPECT_EQ(Count(out.str(), "outdev of ):"), 0);
    }
}

// The MIDI names of a whole run: a name too long for its record leaves that device off,
// with no more said than at any start, and the file as the user wrote it.
TEST_F(AppRun, DeviceNamesTooLongLeaveMidiOffAndTheFileAsWritten) {
    const std::string text =
        "[midi]\nindev=" + std::string(100, 'i') + "\ninBdev=off\noutdev=QD MIDI " + std::string(113, 'o') + "\n";
    const std::string ini = testutil::WriteSettings(config, text);
    auto app = Start();
    EXPECT_EQ(
        std::tuple(std::string(app->Devices().inDevice), std::string(app->Devices().outDevice), app->OutputOpen()),
        std::tuple("off", "off", false));
    EXPECT_LE(Count(err.str(), "\n"), 1) << err.str();
    EXPECT_EQ(Count(out.str(), "MIDI output ports (put one in [midi] outdev of " + ini + "):"), 1);
    app->Stop();
    const std::string kept = testutil::ReadFile(ini);
    EXPECT_EQ(kept.substr(0, text.size()), text);
}

// Ctrl+Q, the desktop's key for Quit, stands beside the Quit item and goes the way the
// item goes: the main loop ends and the settings are stored. Other keys choose nothing.
TEST_F(AppRun, CtrlQQuitsAsTheQuitItemDoesAndTheSettingsAreKept) {
    auto app = Start();
    platform::MenuItem* quit = Item(*app, "Quit");
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(std::pair(quit->keyEquivalent, quit->keyEquivalentModifierMask),
              std::pair(std::string("q"), platform::kControlKeyMask));
    ChangeEverything(*app);
    for (unsigned mods : {0u, platform::kControlKeyMask | platform::kShiftKeyMask, platform::kAlternateKeyMask})
        EXPECT_FALSE(backend.PressKeyEquivalent(app->MainWindow(), {platform::kKeyCodeOther, "q", mods})) << mods;
    // The key comes once the loop runs; a loop it did not end ends after a thousand turns.
    int turns = 0;
    bool chosen = false;
    auto timer = backend.ScheduleTimer(0.01, [&] {
        if (++turns == 1)
            chosen = backend.PressKeyEquivalent(app->MainWindow(),
                                                {platform::kKeyCodeOther, "q", platform::kControlKeyMask});
        if (turns > 1000) backend.QuitMainLoop();
    });
    app->Run();
    timer->Invalidate();
    EXPECT_EQ(std::pair(chosen, turns), std::pair(true, 1));
    app->Stop();
    const std::string ini = testutil::ReadFile(config + "/RODiradu4/settings.ini");
    for (const char* line : {"background=lcd", "manager=true", "guiscale=0.500000000000000"})
        EXPECT_NE(ini.find(line), std::string::npos) << line << "\n" << ini;
}

namespace {

// The file's header (the IHDR chunk right after the signature) set to claim this size,
// its checksum made to match.
void ClaimSize(const std::string& path, uint32_t width, uint32_t height) {
    std::string png = testutil::ReadFile(path);
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    for (int i = 0; i < 4; ++i) png[16 + i] = char(width >> (24 - 8 * i)), png[20 + i] = char(height >> (24 - 8 * i));
    const uint32_t crc = uint32_t(crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17));
    for (int i = 0; i < 4; ++i) png[29 + i] = char(crc >> (24 - 8 * i));
    std::ofstream(path, std::ios::binary) << png;
}

}  // namespace

// Skin images that cannot be decoded, two cut short and two whose headers claim absurd
// sizes: each is named once on the error stream with the reason, however many controls
// ask for it, the PNG library prints nothing of its own, and the panel takes a click and
// a rescale without them. The run is a child process's, whose image caches are empty.
TEST(BrokenSkinImages, AreToldOnceEachAndThePanelRunsOn) {
    testutil::TempDir dir;
    const std::string resources = dir.path() + "/Resources", orig = resources + "/img/orig/";
    fs::copy(QD_SKIN_ROOT, resources, fs::copy_options::recursive);
    // The slider image is shared by dozens of controls, each of which asks for it.
    for (const char* name : {"background-2x.png", "vslider-2x.png"}) {
        const std::string png = testutil::ReadFile(orig + name);
        std::ofstream(orig + name, std::ios::binary) << png.substr(0, png.size() / 2);
    }
    ClaimSize(orig + "random-2x.png", 100000, 100000);
    ClaimSize(orig + "reset-2x.png", 30000, 30000);

    const std::string errors = dir.path() + "/errors", stderrFile = dir.path() + "/stderr";
    const pid_t child = fork();
    if (child == 0) {
        const int fd = open(stderrFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(fd, 2);
        setenv("XDG_CONFIG_HOME", dir.path().c_str(), 1);
        platform::HeadlessBackend backend;
        platform::InstallBackend(&backend);
        std::ofstream err(errors), out("/dev/null");
        auto app = testutil::MakeApp(&backend, dir.path(), &out, &err, resources);
        if (!app->Start()) _exit(1);
        IGraphicsMac* g = app->Editor()->Graphics();
        // A click on the VCO2 sync switch still turns it on.
        IControl* sync = nullptr;
        for (int i = 0; i < g->NControls(); ++i)
            if (g->GetControl(i)->ParamIdx() == 187) sync = g->GetControl(i);
        if (!sync) _exit(2);
        const IRECT r = *sync->GetRECT();
        auto* view = static_cast<platform::HeadlessView*>(g->GetView()->nativeView());
        const double x = (r.L + r.R) / 2 + 2, y = g->Height() - (r.T + r.B) / 2 - 3;  // the view's, from below
        view->MouseDown(x, y);
        view->MouseUp(x, y);
        if (app->Editor()->GetParam(187)->Int() != 1) _exit(3);
        app->Editor()->OnMenuCommand(qd::kMenuScale150);
        IRECT all(0, 0, g->Width(), g->Height());
        g->Draw(&all);
        const int width = g->Width();
        app->Stop();
        _exit(width == 1710 ? 0 : 4);
    }
    ASSERT_EQ(child > 0 ? testutil::WaitOrKill(child, 60) : -1, 0)
        << testutil::ReadFile(errors) << testutil::ReadFile(stderrFile);
    EXPECT_EQ(testutil::ReadFile(stderrFile), "");
    std::string told = testutil::ReadFile(errors);
    if (told.rfind("MIDI unavailable", 0) == 0) told.erase(0, told.find('\n') + 1);  // no sequencer here
    auto line = [&](const char* name, const std::string& why) {
        return "Panel image " + orig + name + " could not be loaded: " + why + ".\n";
    };
    const std::string ends = "the file ends before the image does";
    EXPECT_EQ(told, line("background-2x.png", ends) + line("vslider-2x.png", ends) +
                        line("random-2x.png", "the image is 100000 x 100000 pixels, more than 65536 a side") +
                        line("reset-2x.png", "the image is 30000 x 30000 pixels, more than 1024 MiB"));
}
