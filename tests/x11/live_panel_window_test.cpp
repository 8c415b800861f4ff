// The whole editor in a real window, driven with xdotool: an effect tab shows its
// panel, and a key played on the on-screen keyboard reaches a MIDI port.
#include <RtMidi.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "app/editor_app.h"
#include "editor/qd_editor.h"
#include "gui/cocoa_view.h"
#include "gui/control.h"
#include "gui/igraphics_mac.h"
#include "platform/folders.h"
#include "temp_dir.h"
#include "platform/gtk_backend.h"
#include "run_while_pumping.h"

namespace {

// The editor application with a scratch settings folder, its window shown.
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
        platform::InstallBackend(nullptr);
    }
    void Start(const std::string& settings = "") {
        std::filesystem::create_directories(dir.path() + "/RODiradu4");
        std::ofstream(dir.path() + "/RODiradu4/settings.ini") << settings;
        qdapp::AppOptions options;
        options.configDir = dir.path();
        options.out = options.err = &log;
        app = std::make_unique<qdapp::EditorApp>(backend, options);
        ASSERT_TRUE(app->Start());
        platform::View* view = app->Editor()->Graphics()->GetView()->nativeView();
        ASSERT_TRUE(PumpUntil([&] { return view->CanDraw(); }));
        ASSERT_TRUE(platform::ViewOriginOnScreen(view, &ox, &oy));
    }
    void Mouse(int x, int y, const char* buttons) {
        RunWhilePumping("xdotool mousemove --sync " + std::to_string(ox + x) + " " + std::to_string(oy + y) + " " +
                        buttons);
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
    int ox = 0, oy = 0;
};

TEST_F(LiveWindow, AClickOnAnEffectTabShowsItsPanel) {
    Start();
    ASSERT_TRUE(Shown(135));  // the modulation panel is up at start
    // The tab's middle, a knob of the panel that comes up and one of the panel that goes.
    for (auto [x, shownParam, goneParam] :
         {std::tuple(573, 148, 135), std::tuple(668, 290, 148), std::tuple(763, 135, 290)}) {
        const int shown = shownParam, gone = goneParam;  // clang 14 cannot capture a structured binding
        Mouse(x, 575, "click 1");
        EXPECT_TRUE(PumpUntil([&] { return Shown(shown) && !Shown(gone); })) << x;
    }
}

TEST_F(LiveWindow, APlayedKeyReachesTheMidiPort) {
    std::unique_ptr<RtMidiIn> in;
    std::string port;
    try {
        in = std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, "QD live test");
        in->openVirtualPort("notes");
        in->ignoreTypes(false, true, true);  // keep the SysEx
        RtMidiOut out(RtMidi::LINUX_ALSA);
        for (unsigned i = 0; i < out.getPortCount(); ++i)
            if (out.getPortName(i).find("QD live test") != std::string::npos) port = out.getPortName(i);
    } catch (const RtMidiError& e) {
        GTEST_SKIP() << "ALSA has no MIDI sequencer here (" << e.getMessage() << "): the notes cannot be read";
    }
    ASSERT_FALSE(port.empty());
    Start("[midi]\noutdev=" + port + "\n");
    ASSERT_TRUE(app->OutputOpen()) << log.str();

    Mouse(316 + 5, 728 + 60, "click 1");  // low on the first C: a strong Note On
    std::vector<std::vector<unsigned char>> got;
    for (auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
         got.size() < 4 && std::chrono::steady_clock::now() < until;) {
        std::vector<unsigned char> m;
        in->getMessage(&m);
        if (m.empty()) platform::RunGtkMainLoopFor(0.01);
        else got.push_back(m);
    }
    ASSERT_EQ(got.size(), 4u);
    const unsigned char v = got[0][2];
    EXPECT_GT(v, 100);
    EXPECT_EQ(got[0], (std::vector<unsigned char>{0x90, 24, v}));
    EXPECT_EQ(got[1], (std::vector<unsigned char>{0xF0, 0x00, 0x21, 0x11, 0x05, 0x50, 24, v, 0xF7}));
    EXPECT_EQ(got[2], (std::vector<unsigned char>{0x80, 24, 0}));
    EXPECT_EQ(got[3], (std::vector<unsigned char>{0xF0, 0x00, 0x21, 0x11, 0x05, 0x51, 24, 0, 0xF7}));
}

}  // namespace
