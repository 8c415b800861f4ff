// The on-screen keyboard on a whole editor: what each click and drag sends to the
// MIDI output, where the keys are hit at every scale, and which keys are drawn down.
#include "live_fixture.h"
#include "editor/data/keyboard_geometry.h"
#include "screens/keyboard_control.h"

namespace livetest {
namespace {

// The keyboard stands at (316, 728); an octave is 98 x 68 at scale 1.
constexpr int kLeft = 316, kTop = 728;

Bytes On(int note, int v) { return {0x90, uint8_t(note), uint8_t(v)}; }
Bytes Off(int note) { return {0x80, uint8_t(note), 0}; }
Bytes SysEx(int kind, int note, int v) { return {0xF0, 0x00, 0x21, 0x11, 0x05, uint8_t(kind), uint8_t(note), uint8_t(v), 0xF7}; }

class Keyboard : public LiveTest {
protected:
    void Down(int dx, int dy, IMouseMod mod = IMouseMod(true)) { G()->OnMouseDown(kLeft + dx, kTop + dy, &mod); }
    void Drag(int dx, int dy) {
        IMouseMod mod(true);
        G()->OnMouseDrag(kLeft + dx, kTop + dy, &mod);
    }
    void Up(int dx, int dy) {
        IMouseMod mod(true);
        G()->OnMouseUp(kLeft + dx, kTop + dy, &mod);
    }
    IKeyboardControl* K() { return editor->Keyboard(); }
};

TEST_F(Keyboard, ClicksAndDragsSendNoteAndSysExMessagesInOrder) {
    struct Case {
        const char* what;
        std::vector<std::pair<char, std::pair<int, int>>> mouse;  // 'd'own, 'm'ove, 'u'p at (dx, dy)
        std::vector<Bytes> sent;
    };
    // Velocities: 60 / 61.2 gives 124.0 -> 125; 20 / 37.8 gives 67.2 -> 68.
    const std::vector<Case> cases = {
        {"C then a drag to C#",
         {{'d', {3, 60}}, {'m', {12, 20}}},
         {On(24, 125), SysEx(0x50, 24, 125), Off(24), SysEx(0x51, 24, 0), On(25, 68), SysEx(0x50, 25, 68), Off(25),
          SysEx(0x51, 25, 0)}},
        {"a drag within one key sends nothing more", {{'d', {3, 60}}, {'m', {5, 50}}, {'m', {6, 67}}},
         {On(24, 125), SysEx(0x50, 24, 125), Off(24), SysEx(0x51, 24, 0)}},
        {"release over another key ends the sounding note",
         {{'d', {3, 60}}, {'u', {40, 60}}},
         {On(24, 125), SysEx(0x50, 24, 125), Off(24), SysEx(0x51, 24, 0)}},
        {"release outside the keyboard", {{'d', {98 * 4 + 95, 60}}, {'u', {-100, -300}}},
         {On(83, 125), SysEx(0x50, 83, 125), Off(83), SysEx(0x51, 83, 0)}},
        {"a right click plays nothing", {{'r', {3, 60}}, {'u', {3, 60}}}, {}},
        {"outside the keys plays nothing", {{'d', {98 * 5 + 2, 10}}, {'u', {98 * 5 + 2, 10}}}, {}},
    };
    Make();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        output.sent.clear();
        for (const auto& [kind, at] : c.mouse) {
            if (kind == 'd') Down(at.first, at.second);
            if (kind == 'r') Down(at.first, at.second, IMouseMod(false, true));
            if (kind == 'm') Drag(at.first, at.second);
            if (kind == 'u') Up(at.first, at.second);
        }
        Up(0, 0);  // the release: over C, whatever key sounds
        EXPECT_EQ(output.sent, c.sent);
        EXPECT_EQ(K()->HeldKey(), -1);
        EXPECT_EQ(K()->SoundingKey(), -100);
    }
}

TEST_F(Keyboard, VelocityFollowsTheHeightOfTheStrike) {
    struct Case {
        int dx, dy;
        int key;
        int velocity;  // of the Note On
    };
    const Case cases[] = {
        {3, 0, 0, 1},      {3, 30, 0, 63},  // 30 / 61.2 x 126 = 61.8 -> 62 + 1
        {3, 67, 0, 127},   {12, 0, 1, 1},    {12, 41, 1, 127},  // past 90 % of the key: full
        {98 + 90, 61, 23, 127},  // under the black key's height: the white key B
        {25, 21, 3, 71},         // 21 / 37.8 x 126 = 70.0 -> 70 + 1
    };
    Make();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.dx << ", " << c.dy);
        output.sent.clear();
        Down(c.dx, c.dy);
        Up(c.dx, c.dy);
        ASSERT_EQ(output.sent.size(), 4u);
        EXPECT_EQ(output.sent[0], On(24 + c.key, c.velocity));
    }
}

TEST_F(Keyboard, OutputOffSendsNothingButTheKeyStillGoesDown) {
    Make("", "off");
    Down(3, 60);
    EXPECT_EQ(K()->HeldKey(), 0);
    EXPECT_EQ(K()->SoundingKey(), 0);
    Drag(12, 20);
    EXPECT_EQ(K()->HeldKey(), 1);
    Up(12, 20);
    EXPECT_TRUE(output.sent.empty());
}

TEST_F(Keyboard, BlackKeysAreHitWhereTheyAreDrawnAtEveryScale) {
    const int black[] = {1, 3, 6, 8, 10};
    const int left1[] = {9, 25, 51, 66, 81};
    for (double scale : {2.0, 1.0, 0.5}) {
        SCOPED_TRACE(scale);
        if (!editor) Make();
        Rescale(scale);
        IRECT all(0, 0, G()->Width(), G()->Height());
        G()->Draw(&all);  // the octave width follows the images at the next draw
        const IRECT r = *K()->GetTargetRECT();
        const int octave = r.W() / 5;
        const int w = int(10 * scale), h = int(42 * scale);
        ASSERT_EQ(octave, int(98 * scale));
        for (int o : {0, 2, 4}) {
            for (int i = 0; i < 5; ++i) {
                const int x = r.L + o * octave + int(left1[i] * scale);
                const int key = 12 * o + black[i];
                EXPECT_EQ(K()->KeyAtPoint(x, r.T), key);
                EXPECT_EQ(K()->KeyAtPoint(x + w - 1, r.T + h - 1), key);
                EXPECT_NE(K()->KeyAtPoint(x - 1, r.T), key);
                EXPECT_NE(K()->KeyAtPoint(x + w, r.T), key);
                EXPECT_NE(K()->KeyAtPoint(x, r.T + h), key);
                const int below = K()->KeyAtPoint(x, r.T + h);
                EXPECT_TRUE(below >= 0 && !qd::keyboard::IsBlackKey(below % 12)) << below;
            }
        }
        EXPECT_EQ(K()->KeyAtPoint(r.R, r.T), -1);
        EXPECT_EQ(K()->KeyAtPoint(r.L - 1, r.T), -1);
        EXPECT_EQ(K()->KeyAtPoint(r.L, r.B), -1);
    }
}

TEST_F(Keyboard, ANoteTheHardwareHoldsIsDrawnAndAClickOnItIsEnded) {
    Make();
    const IMidiMessage on(0, 0x90, 28, 100), off(0, 0x80, 28, 0);
    // E of the first octave, low on the key where no black key covers it.
    const int ex = kLeft + 2 * 14 + 7, ey = kTop + 60;
    IRECT all(0, 0, G()->Width(), G()->Height());
    auto drawnLikeOctave2 = [&] {
        K()->SetDirty(false);
        G()->Draw(&all);
        return G()->GetPixelColor(ex, ey) == G()->GetPixelColor(ex + 98, ey);
    };
    EXPECT_TRUE(drawnLikeOctave2());
    editor->ProcessKeyboardMidi(on);
    EXPECT_FALSE(drawnLikeOctave2());

    Down(2 * 14 + 7, 60);  // the same key: it sounds but is not marked held
    EXPECT_EQ(K()->HeldKey(), -1);
    Up(2 * 14 + 7, 60);
    EXPECT_EQ(output.sent, (std::vector<Bytes>{On(28, 125), SysEx(0x50, 28, 125), Off(28), SysEx(0x51, 28, 0)}));

    editor->ProcessKeyboardMidi(off);
    EXPECT_TRUE(drawnLikeOctave2());
    Down(2 * 14 + 7, 60);  // held by the mouse alone
    EXPECT_FALSE(drawnLikeOctave2());
    Up(2 * 14 + 7, 60);
}

}  // namespace
}  // namespace livetest
