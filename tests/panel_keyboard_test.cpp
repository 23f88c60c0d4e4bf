// The keyboard: the key table with its exact modifier rules, held knob keys, D and U stepping,
// and the keys released when the window loses the keyboard; then a few strokes on the real panel.

#include "panel/Keyboard.h"
#include "tests/support/PanelRig.h"

#include <set>

using namespace kivo;
using panel::kCtrlDown;
using panel::kShiftDown;
namespace vk = panel::vk;

namespace {

// Records what the keys ask for; keys named in `disabled` refuse.
struct Recorder final : panel::KeyTargets {
    void Press(const std::string& key) override
    {
        calls.push_back("press " + key);
        if (during)
            during(key);
    }
    void MCKDown() override { calls.push_back("MCK down"); }
    void MCKUp() override { calls.push_back("MCK up"); }
    void JogPress(int dir) override { calls.push_back("jog " + std::to_string(dir)); }
    void SetupTuningKnob(int knob, int action) override
    {
        calls.push_back("setup " + std::to_string(knob) + " " + std::to_string(action));
    }
    void KnobDetent(int knob, int dir) override
    {
        calls.push_back("knob " + std::to_string(knob) + " " + std::to_string(dir));
    }
    void StepFrequency() override { calls.push_back("step"); }
    void TurnOffLMeter() override { calls.push_back("meter off"); }
    void TurnOnLMeter() override { calls.push_back("meter on"); }
    bool Enabled(const std::string& element) const override { return !disabled.count(element); }
    void SpeakState() override { calls.push_back("speak"); }

    std::vector<std::string> calls;
    std::set<std::string> disabled;
    std::function<void(const std::string&)> during; // what happens while a key's handler waits
};

using Calls = std::vector<std::string>;

struct KeyboardTest : ::testing::Test {
    state::ModKIVO s;
    Recorder r;
    panel::Keyboard kb{s, r};
    void SetUp() override { s.CATOn = true; }
};

TEST_F(KeyboardTest, ASpaceTapLetGoWhileKeyingStillEndsTheTransmission)
{
    // Keying waits for the line; the key-up arrives inside that wait, before the radio is on air.
    r.during = [this](const std::string& key) {
        r.during = nullptr;
        EXPECT_EQ(key, "MOXbutton");
        kb.KeyUp(vk::kSpace, 0);
        s.Transmitting = true;
    };
    kb.KeyDown(vk::kSpace, 0);
    EXPECT_EQ(r.calls, (Calls{"press MOXbutton", "press MOXbutton"}));
}

TEST_F(KeyboardTest, EachKeyDownCallsItsHandler)
{
    struct Row {
        const char* name;
        int code;
        int mods;
        Calls calls;
        bool dark = false;
    } const rows[] = {
        {"Space keys MOX", vk::kSpace, 0, {"press MOXbutton"}},
        {"Ctrl+Space still MOX", vk::kSpace, kCtrlDown, {"press MOXbutton"}},
        {"Page Up", vk::kPageUp, 0, {"setup 1 -1", "knob 1 1"}},
        {"Page Down with Shift", vk::kPageDown, kShiftDown, {"setup 1 -1", "knob 1 -1"}},
        {"keypad *", vk::kMultiply, 0, {"setup 2 -1", "knob 2 1"}},
        {"keypad /", vk::kDivide, 0, {"setup 2 -1", "knob 2 -1"}},
        {"keypad +", vk::kAdd, 0, {"setup 3 -1", "knob 3 1"}},
        {"keypad -", vk::kSubtract, 0, {"setup 3 -1", "knob 3 -1"}},
        {"Ctrl+A", 'A', kCtrlDown, {"press ABbutton"}},
        {"Shift+A", 'A', kShiftDown, {"press ModeButton(4)"}},
        {"A alone", 'A', 0, {}},
        {"Ctrl+B", 'B', kCtrlDown, {"press SWAPbutton"}},
        {"B without Ctrl", 'B', 0, {}},
        {"Shift+C", 'C', kShiftDown, {"press ModeButton(2)"}},
        {"C", 'C', 0, {"press CLARbutton"}},
        {"Ctrl+C", 'C', kCtrlDown, {"press CLARbutton"}},
        {"Shift+F", 'F', kShiftDown, {"press ModeButton(5)"}},
        {"F", 'F', 0, {"press FASTbutton"}},
        {"Ctrl+H", 'H', kCtrlDown, {"press HOMEbutton"}},
        {"H", 'H', 0, {}},
        {"Ctrl+L", 'L', kCtrlDown, {"press SPLITbutton"}},
        {"Shift+L", 'L', kShiftDown, {"press ModeButton(0)"}},
        {"L", 'L', 0, {"press LOCKbutton"}},
        {"Ctrl+Shift+L is neither: LOCK", 'L', kCtrlDown | kShiftDown, {"press LOCKbutton"}},
        {"Ctrl+M", 'M', kCtrlDown, {"MCK down"}},
        {"M", 'M', 0, {}},
        {"P", 'P', 0, {"press CATbutton"}},
        {"P alone while dark", 'P', 0, {"press CATbutton"}, true},
        {"Space while dark", vk::kSpace, 0, {}, true},
        {"L while dark", 'L', 0, {}, true},
        {"R", 'R', kShiftDown, {"press RCLbutton"}},
        {"S", 'S', 0, {"press STObutton"}},
        {"Ctrl+U", 'U', kCtrlDown, {"press SUBbutton"}},
        {"Shift+U", 'U', kShiftDown, {"press ModeButton(1)"}},
        {"U", 'U', 0, {"meter off", "step"}},
        {"Ctrl+Shift+U steps", 'U', kCtrlDown | kShiftDown, {"meter off", "step"}},
        {"D", 'D', 0, {"meter off", "step"}},
        {"Ctrl+D steps too", 'D', kCtrlDown, {"meter off", "step"}},
        {"Ctrl+V", 'V', kCtrlDown, {"press VFOMRbutton"}},
        {"1", '1', 0, {"press RPTbutton"}},
        {"keypad 2", vk::kNumpad0 + 2, 0, {"press REVbutton"}},
        {"3", '3', kShiftDown, {"press TONEbutton"}},
        {"keypad 4", vk::kNumpad0 + 4, 0, {"press SCANbutton"}},
        {"5", '5', 0, {"press PRIbutton"}},
        {"6", '6', 0, {"press PMSbutton"}},
        {"keypad 7", vk::kNumpad0 + 7, 0, {"press BandDownButton"}},
        {"8", '8', 0, {"press BandUpButton"}},
        {"9", '9', 0, {"press MhzDownButton"}},
        {"keypad 0", vk::kNumpad0, 0, {"press MhzUpButton"}},
        {"keypad decimal", vk::kDecimal, 0, {"press DOPbutton"}},
        {"Enter", vk::kEnter, 0, {"press ENTbutton"}},
        {"keypad separator", vk::kSeparator, 0, {"press ENTbutton"}},
        {"Esc with no entry", vk::kEscape, 0, {}},
        {"F1: 1.8 MHz", vk::kF1, 0, {"press BandButton(11)"}},
        {"F2: 3.5 MHz", vk::kF1 + 1, 0, {"press BandButton(10)"}},
        {"F11: 144 MHz", vk::kF1 + 10, 0, {"press BandButton(1)"}},
        {"F12: 430 MHz", vk::kF1 + 11, kCtrlDown, {"press BandButton(0)"}},
        {"Ctrl+I speaks the state", 'I', kCtrlDown, {"speak"}},
        {"Ctrl+I while dark too", 'I', kCtrlDown, {"speak"}, true},
        {"I alone", 'I', 0, {}},
        {"a key not in the table", 'Q', 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state::ModKIVO st;
        st.CATOn = !row.dark;
        Recorder rec;
        panel::Keyboard k(st, rec);
        k.KeyDown(row.code, row.mods);
        EXPECT_EQ(rec.calls, row.calls);
    }
}

TEST_F(KeyboardTest, PanelStateDecidesSomeRows)
{
    s.KeypadOn = true;
    kb.KeyDown(vk::kEscape, 0);
    EXPECT_EQ(r.calls, Calls{"press ENTbutton"}) << "Esc ends a keypad entry";
    kb.KeyUp(vk::kEscape, 0);

    r.calls.clear();
    s.Transmitting = true;
    kb.KeyDown(vk::kSpace, 0);
    EXPECT_EQ(r.calls, Calls{}) << "Space does not unkey on its way down";

    r.calls.clear();
    s.FastOn = true;
    kb.KeyDown('D', 0);
    EXPECT_EQ(s.ScanStep, -10000) << "100 kHz down with FAST lit";
    EXPECT_EQ(s.ScanDir, -1);
    kb.KeyUp('D', 0);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_EQ(r.calls, (Calls{"meter off", "step", "meter on"}));

    r.calls.clear();
    s.FastOn = false;
    s.ScanArmed = true;
    kb.KeyDown('U', 0);
    kb.KeyDown('U', 0, true);
    kb.KeyUp('U', 0);
    EXPECT_EQ(r.calls, Calls{"jog 1"}) << "SCAN armed: once per stroke, and the release leaves the scan alone";
}

TEST_F(KeyboardTest, ADisabledKeyKnobOrJogIsNotPressedFromTheKeyboardEither)
{
    r.disabled = {el::LOCKbutton, el::MainKnob, el::btnJogDown, el::MOXbutton, el::ModeButton(0)};
    for (auto [code, mods] : {std::pair{'L', 0}, {vk::kPageUp, 0}, {'D', 0}, {vk::kSpace, 0}, {'L', kShiftDown}}) {
        kb.KeyDown(code, mods);
        kb.KeyUp(code, mods);
    }
    EXPECT_EQ(r.calls, Calls{});
}

TEST_F(KeyboardTest, AHeldKnobKeyStartsItsMotionOnceAndEndsItOnRelease)
{
    // Auto-repeat flagged as such, and a platform that repeats the press without saying so.
    for (bool flagged : {true, false}) {
        SCOPED_TRACE(flagged ? "flagged" : "unflagged");
        r.calls.clear();
        kb.KeyDown(vk::kPageUp, 0);
        for (int i = 0; i < 4; ++i)
            kb.KeyDown(vk::kPageUp, 0, flagged);
        EXPECT_TRUE(s.MainKnobKeyHeld);
        kb.KeyUp(vk::kPageUp, 0);
        EXPECT_FALSE(s.MainKnobKeyHeld);
        EXPECT_EQ(r.calls,
                  (Calls{"setup 1 -1", "knob 1 1", "knob 1 1", "knob 1 1", "knob 1 1", "knob 1 1", "setup 1 1"}));
    }
    // Direction changes within one hold keep the motion going.
    r.calls.clear();
    kb.KeyDown(vk::kAdd, 0);
    kb.KeyDown(vk::kSubtract, 0);
    EXPECT_EQ(s.KeyKnobDir, -1);
    kb.KeyUp(vk::kAdd, 0);
    kb.KeyUp(vk::kSubtract, 0);
    EXPECT_EQ(r.calls, (Calls{"setup 3 -1", "knob 3 1", "knob 3 -1", "setup 3 1"}));
}

TEST_F(KeyboardTest, OtherKeysActOncePerStroke)
{
    kb.KeyDown('L', 0);
    kb.KeyDown('L', 0, true);
    kb.KeyDown('L', 0, true);
    kb.KeyUp('L', 0);
    kb.KeyDown('D', 0);
    kb.KeyDown('D', 0, true);
    kb.KeyUp('D', 0);
    EXPECT_EQ(r.calls, (Calls{"press LOCKbutton", "meter off", "step", "meter off", "step", "meter on"}))
        << "LOCK does not chatter; D steps on with the repeat";
}

TEST_F(KeyboardTest, LosingTheKeyboardReleasesEveryKeyStillHeld)
{
    kb.KeyDown(vk::kSpace, 0);
    s.Transmitting = true; // MOX keyed
    kb.KeyDown(vk::kMultiply, 0);
    kb.KeyDown('M', kCtrlDown);
    r.calls.clear();
    kb.FocusLost();
    EXPECT_EQ(r.calls, (Calls{"press MOXbutton", "MCK up", "setup 2 1"}));
    EXPECT_FALSE(s.SubKnobKeyHeld);
    s.Transmitting = false; // MOX released
    r.calls.clear();
    kb.FocusLost();
    kb.KeyUp(vk::kSpace, 0); // the late key-up, if it comes after all
    EXPECT_EQ(r.calls, Calls{}) << "released once";
}

// The keys over the real panel and the simulator.
class KeysOnPanel : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        WriteUsualFiles();
        panel.Power().Load();
        EXPECT_TRUE(panel.Keyboard().KeyDown('P', 0)) << "P switches the dark panel on";
        panel.Keyboard().KeyUp('P', 0);
        ASSERT_TRUE(s.CATOn);
        loop.Advance(0.5);
        TakeFrames();
    }
    void Stroke(int code, int mods = 0)
    {
        panel.Keyboard().KeyDown(code, mods);
        panel.Keyboard().KeyUp(code, mods);
    }
};

TEST_F(KeysOnPanel, StrokesReachTheRadio)
{
    using kivo::testing::F;
    Stroke('F'); // FAST
    ASSERT_TRUE(s.FastOn);
    panel.Keyboard().KeyDown('D', 0);
    EXPECT_EQ(s.VFOMB.Freq, 14510000) << "100 kHz down";
    EXPECT_FALSE(meter.TimerSignalMeter().Enabled());
    panel.Keyboard().KeyUp('D', 0);
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled()) << "the release turns the meter back on";
    EXPECT_EQ(TakeSent(), std::vector<std::string>{F({0x14, 0x51, 0x00, 0x00, 0x01})});

    Stroke('L', kCtrlDown | kShiftDown);
    EXPECT_TRUE(s.LockOn);
    EXPECT_FALSE(s.SplitOn);
    EXPECT_FALSE(Enabled(el::MainKnob));
    panel.Keyboard().KeyDown(vk::kPageUp, 0);
    EXPECT_FALSE(s.MainKnobKeyHeld) << "a locked knob takes no key";
    panel.Keyboard().KeyUp(vk::kPageUp, 0);
    Stroke('L');
    EXPECT_FALSE(s.LockOn);

    Stroke('F');
    for (int i = 0; i < 3; ++i)
        panel.Keyboard().KeyDown(vk::kPageUp, 0, i > 0);
    EXPECT_TRUE(panel.Power().TimerSendFreq().Enabled()) << "the resend timer runs while the key is held";
    panel.Keyboard().KeyUp(vk::kPageUp, 0);
    EXPECT_FALSE(panel.Power().TimerSendFreq().Enabled());
    const state::Long step = s.Settings.DialStep[1][5];
    EXPECT_EQ(s.VFOMB.Freq, 14510000 + 3 * step);

    Stroke(vk::kF1 + 11);
    EXPECT_EQ(s.BandIdxMB, 0) << "F12: 430 MHz";
}

} // namespace
