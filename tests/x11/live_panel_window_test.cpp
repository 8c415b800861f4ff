// The whole editor in a real window, driven with xdotool: an effect tab shows its
// panel, and a key played on the on-screen keyboard reaches a MIDI port.
#include <gtest/gtest.h>
#include <RtMidi.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/editor_app.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "platform/gtk_backend.h"
#include "screens/keyboard_control.h"
#include "temp_dir.h"
#include "x11_driver.h"

namespace {

using namespace x11test;

// The editor application in a scratch settings folder, its window shown.
class LiveWindow : public ::testing::Test {
protected:
    void SetUp() override {
        backend = SharedGtkBackend();
        if (!backend) GTEST_SKIP() << "no X display";
        platform::InstallBackend(backend);
        platform::RegisterMainBundle(qdapp::kBundleID);
    }
    void TearDown() override {
        if (app) app->Stop();
        app.reset();
        if (backend) platform::RunGtkMainLoopFor(0.05);
        platform::InstallBackend(nullptr);
    }
    void Start(const std::string& midi = "") {
        const std::string folder = dir.path() + "/RODiradu4";
        std::filesystem::create_directories(folder);
        if (!midi.empty()) std::ofstream(folder + "/settings.ini") << midi;
        qdapp::AppOptions options;
        options.configDir = dir.path();
        options.out = &log;
        options.err = &log;
        app = std::make_unique<qdapp::EditorApp>(backend, options);
        ASSERT_TRUE(app->Start());
        view = app->Editor()->Graphics()->GetView()->nativeView();
        ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
        ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));
    }
    void Click(int x, int y, const char* button = "click 1") {
        RunWhilePumping("xdotool mousemove --sync " + std::to_string(ox + x) + " " + std::to_string(oy + y) + " " +
                        button);
    }
    bool Shown(int param) {
        IGraphics* g = app->Editor()->Graphics();
        for (int i = 0; i < g->NControls(); ++i)
            if (g->GetControl(i)->ParamIdx() == param && g->GetControl(i)->IsHidden()) return false;
        return true;
    }

    testutil::TempDir dir;
    testutil::ScopedEnv config{"XDG_CONFIG_HOME", dir.path().c_str()};
    platform::Backend* backend = nullptr;
    std::ostringstream log;
    std::unique_ptr<qdapp::EditorApp> app;
    platform::View* view = nullptr;
    int ox = 0, oy = 0;
};

TEST_F(LiveWindow, AClickOnAnEffectTabShowsItsPanel) {
    Start();
    ASSERT_TRUE(Shown(135));  // the modulation panel is up at start
    struct Case {
        int x;      // the tab's middle, y 575
        int shown;  // a knob of the panel that comes up
        int gone;   // one of the panel that goes
    };
    const Case cases[] = {{573, 148, 135}, {668, 290, 148}, {763, 135, 290}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        Click(c.x, 575);
        EXPECT_TRUE(PumpUntil([&] { return Shown(c.shown) && !Shown(c.gone); }));
    }
}

// The output port of `client` among the ports an output can open, or empty.
std::string OutputPortOf(const std::string& client) {
    RtMidiOut out(RtMidi::LINUX_ALSA);
    for (unsigned i = 0; i < out.getPortCount(); ++i)
        if (std::string name = out.getPortName(i); name.find(client) != std::string::npos) return name;
    return {};
}

TEST_F(LiveWindow, APlayedKeyReachesTheMidiPort) {
    std::unique_ptr<RtMidiIn> in;
    try {
        in = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, "QD live test");
        in->openVirtualPort("notes");
    } catch (const RtMidiError& e) {
        GTEST_SKIP() << "ALSA has no MIDI sequencer here (" << e.getMessage() << "): the notes cannot be read";
    }
    in->ignoreTypes(false, true, true);  // keep the SysEx
    const std::string port = OutputPortOf("QD live test");
    ASSERT_FALSE(port.empty());
    Start("[midi]\noutdev=" + port + "\n");
    ASSERT_TRUE(app->OutputOpen()) << log.str();

    // The first C of the keyboard at (316, 728), low on the key: a strong Note On.
    Click(316 + 5, 728 + 60, "mousedown 1");
    Click(316 + 5, 728 + 60, "mouseup 1");
    std::vector<std::vector<unsigned char>> got;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (got.size() < 4 && std::chrono::steady_clock::now() < until) {
        std::vector<unsigned char> m;
        in->getMessage(&m);
        if (m.empty())
            platform::RunGtkMainLoopFor(0.01);
        else
            got.push_back(m);
    }
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0][0], 0x90);
    EXPECT_EQ(got[0][1], 24);
    EXPECT_GT(got[0][2], 100);
    EXPECT_EQ(got[1], (std::vector<unsigned char>{0xF0, 0x00, 0x21, 0x11, 0x05, 0x50, 24, got[0][2], 0xF7}));
    EXPECT_EQ(got[2], (std::vector<unsigned char>{0x80, 24, 0}));
    EXPECT_EQ(got[3], (std::vector<unsigned char>{0xF0, 0x00, 0x21, 0x11, 0x05, 0x51, 24, 0, 0xF7}));
}

}  // namespace
