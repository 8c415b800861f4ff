// The on-screen keyboard on a whole editor: what each click and drag sends to the
// MIDI output, where the keys are hit at every scale, and which keys are drawn down.
#include "editor/editor_fixture.h"
#include "screens/keyboard_control.h"

using namespace edtest;
namespace {

// The keyboard stands at (316, 728); an octave is 98 x 68 at scale 1.
constexpr int kLeft = 316, kTop = 728;

bool IsWhite(int key) { return key >= 0 && (0b101010110101 >> (key % 12) & 1); }  // C D E F G A B

// The keyboard channel setting is 17, of which the low four bits count: channel 1.
Bytes On(int note, int v) { return {0x91, uint8_t(note), uint8_t(v)}; }
Bytes Off(int note) { return {0x81, uint8_t(note), 0}; }
Bytes SysEx(int kind, int note, int v) { return {0xF0, 0x00, 0x21, 0x11, 0x05, uint8_t(kind), uint8_t(note), uint8_t(v), 0xF7}; }
// A whole key press: the Note On and its SysEx, then the Note Off and its SysEx.
std::vector<Bytes> Tap(int note, int v) { return {On(note, v), SysEx(0x50, note, v), Off(note), SysEx(0x51, note, 0)}; }

class Keyboard : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        Make("[midi]\nkbdmidioutch=17\n", "QD out");
        output.sent.clear();
    }
    // 'd'own, 'r'ight-button down, 'm'ove (drag) or 'u'p at (dx, dy) from the keyboard.
    void Mouse(char kind, int dx, int dy) {
        IMouseMod mod(kind != 'r', kind == 'r');
        const int x = kLeft + dx, y = kTop + dy;
        if (kind == 'd' || kind == 'r') G()->OnMouseDown(x, y, &mod);
        if (kind == 'm') G()->OnMouseDrag(x, y, &mod);
        if (kind == 'u') G()->OnMouseUp(x, y, &mod);
    }
    IKeyboardControl* K() { return Screens()->Keyboard(); }
};

}  // namespace

TEST_F(Keyboard, ClicksAndDragsSendNoteAndSysExMessagesInOrder) {
    struct Step { char kind; int dx, dy; };
    // Each case's mouse steps are followed by a release at (0, 0), over the first C.
    struct Case { const char* what; std::vector<Step> mouse; std::vector<Bytes> sent; };
    // Velocity: 60 / (68 x 0.9) x 126 = 123.5 -> 124 + 1; 20 / (42 x 0.9) gives 68.
    const std::vector<Case> cases = {
        {"C then a drag to C#", {{'d', 3, 60}, {'m', 12, 20}},
         {On(24, 125), SysEx(0x50, 24, 125), Off(24), SysEx(0x51, 24, 0), On(25, 68), SysEx(0x50, 25, 68), Off(25),
          SysEx(0x51, 25, 0)}},
        {"a drag within one key sends nothing more", {{'d', 3, 60}, {'m', 6, 67}}, Tap(24, 125)},
        {"release outside the keyboard", {{'d', 98 * 4 + 95, 60}, {'u', -100, -300}}, Tap(83, 125)},
        {"top of a white key", {{'d', 3, 0}}, Tap(24, 1)},
        {"middle of a black key", {{'d', 25, 21}}, Tap(27, 71)},
        {"bottom of a black key", {{'d', 98 + 81, 41}}, Tap(46, 127)},
        {"a right click plays nothing", {{'r', 3, 60}}, {}},
        {"outside the keys plays nothing", {{'d', 98 * 5 + 2, 10}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        output.sent.clear();
        for (const Step& s : c.mouse) Mouse(s.kind, s.dx, s.dy);
        Mouse('u', 0, 0);
        EXPECT_EQ(output.sent, c.sent);
        EXPECT_EQ(std::pair(K()->HeldKey(), K()->SoundingKey()), std::pair(-1, -100));
    }
}

TEST_F(Keyboard, BlackKeysAreHitWhereTheyAreDrawnAtEveryScale) {
    const int black[] = {1, 3, 6, 8, 10}, left[] = {9, 25, 51, 66, 81};
    for (double scale : {2.0, 0.5}) {
        SCOPED_TRACE(scale);
        Rescale(scale);
        IRECT all(0, 0, G()->Width(), G()->Height());
        G()->Draw(&all);  // the octave width follows the images at the next draw
        const IRECT r = *K()->GetTargetRECT();
        const int octave = int(98 * scale), w = int(10 * scale), h = int(42 * scale);
        for (int o : {0, 4})
            for (int i = 0; i < 5; ++i) {
                const int x = r.L + o * octave + int(left[i] * scale), key = 12 * o + black[i];
                EXPECT_EQ(K()->KeyAtPoint(x, r.T), key);
                EXPECT_EQ(K()->KeyAtPoint(x + w - 1, r.T + h - 1), key);
                for (auto [px, py] : {std::pair(x - 1, r.T), std::pair(x + w, r.T), std::pair(x, r.T + h)}) {
                    const int white = K()->KeyAtPoint(px, py);
                    EXPECT_TRUE(white >= 12 * o && IsWhite(white)) << white;
                }
            }
        EXPECT_EQ(K()->KeyAtPoint(r.R, r.T), -1);
        EXPECT_EQ(K()->KeyAtPoint(r.L, r.B), -1);
    }
}

TEST_F(Keyboard, ANoteTheHardwareHoldsIsDrawnAndAClickOnItIsEnded) {
    // E of the first octave, low on the key where no black key covers it.
    const int ex = 2 * 14 + 7, ey = 60;
    IRECT all(0, 0, G()->Width(), G()->Height());
    auto drawnLikeOctave2 = [&] {
        K()->SetDirty(false);
        G()->Draw(&all);
        return G()->GetPixelColor(kLeft + ex, kTop + ey) == G()->GetPixelColor(kLeft + ex + 98, kTop + ey);
    };
    EXPECT_TRUE(drawnLikeOctave2());
    editor->ProcessKeyboardMidi(IMidiMessage(0, 0x90, 28, 100));
    EXPECT_FALSE(drawnLikeOctave2());

    Mouse('d', ex, ey);  // the same key: it sounds but is not marked held
    EXPECT_EQ(K()->HeldKey(), -1);
    Mouse('u', ex, ey);
    EXPECT_EQ(output.sent, Tap(28, 125));

    editor->ProcessKeyboardMidi(IMidiMessage(0, 0x80, 28, 0));
    EXPECT_TRUE(drawnLikeOctave2());
    Mouse('d', ex, ey);  // held by the mouse alone
    EXPECT_FALSE(drawnLikeOctave2());
}
