#include "panel/Keyboard.h"

#include "platform/Elements.h"

namespace kivo::panel {

namespace {

enum KnobNumber { kMain = 1, kSub = 2, kChannel = 3 };

// The digit keys, top row or keypad, press the front-panel keys that carry those digits, so the
// same strokes type a frequency during keypad entry.
const char* DigitKey(int digit)
{
    static const char* const keys[10] = {el::MhzUpButton,  el::RPTbutton,    el::REVbutton, el::TONEbutton,
                                         el::SCANbutton,   el::PRIbutton,    el::PMSbutton, el::BandDownButton,
                                         el::BandUpButton, el::MhzDownButton};
    return keys[digit];
}

int DigitOf(int code)
{
    if (code >= '0' && code <= '9')
        return code - '0';
    if (code >= vk::kNumpad0 && code <= vk::kNumpad0 + 9)
        return code - vk::kNumpad0;
    return -1;
}

const char* KnobElement(int knob)
{
    return knob == kMain ? el::MainKnob : knob == kSub ? el::SubKnob : el::ChannelKnob;
}

} // namespace

Keyboard::Keyboard(state::ModKIVO& s, KeyTargets& targets) : m_s(s), m_t(targets) {}

bool Keyboard::IsPanelKey(int code)
{
    switch (code) {
    case vk::kEnter:
    case vk::kEscape:
    case vk::kSpace:
    case vk::kPageUp:
    case vk::kPageDown:
    case vk::kMultiply:
    case vk::kAdd:
    case vk::kSeparator:
    case vk::kSubtract:
    case vk::kDecimal:
    case vk::kDivide:
    case 'A':
    case 'B':
    case 'C':
    case 'D':
    case 'F':
    case 'H':
    case 'I':
    case 'L':
    case 'M':
    case 'P':
    case 'R':
    case 'S':
    case 'U':
    case 'V': return true;
    default: return DigitOf(code) >= 0 || (code >= vk::kF1 && code <= vk::kF1 + 11);
    }
}

void Keyboard::Press(const std::string& key)
{
    // A key the mouse cannot press now cannot be pressed from the keyboard either.
    if (m_t.Enabled(key))
        m_t.Press(key);
}

bool& Keyboard::HeldFlag(int knob)
{
    return knob == kMain ? m_s.MainKnobKeyHeld : knob == kSub ? m_s.SubKnobKeyHeld : m_s.ChannelKnobKeyHeld;
}

void Keyboard::KnobStep(int knob, int dir)
{
    if (!m_t.Enabled(KnobElement(knob)))
        return;
    m_s.KeyKnobDir = dir;
    bool& held = HeldFlag(knob);
    if (!held) {
        held = true;
        m_t.SetupTuningKnob(knob, -1);
    }
    m_t.KnobDetent(knob, dir);
}

void Keyboard::KnobRelease(int knob)
{
    // Tied to the grab, not to the knob's enabled state: a knob disabled while its key is held
    // (LOCK, a keypad entry) still ends its motion, and a knob never grabbed sends nothing.
    bool& held = HeldFlag(knob);
    if (!held)
        return;
    held = false;
    m_t.SetupTuningKnob(knob, 1);
}

void Keyboard::FrequencyStep(int dir, bool repeat)
{
    const char* jog = dir < 0 ? el::btnJogDown : el::btnJogUp;
    if (!m_t.Enabled(jog))
        return;
    if (m_s.ScanArmed) {
        // Starts or stops the scan: once per stroke, not with every auto-repeat.
        if (!repeat)
            m_t.JogPress(dir);
        return;
    }
    m_s.ScanDir = dir;
    m_s.ScanStep = state::Long(dir) * (m_s.FastOn ? 10000 : 1000);
    m_stepping = true;
    m_t.TurnOffLMeter();
    m_t.StepFrequency();
}

void Keyboard::FrequencyStepEnd()
{
    if (m_s.ScanArmed || !m_stepping)
        return;
    m_stepping = false;
    m_s.ScanDir = 0;
    m_t.TurnOnLMeter();
}

bool Keyboard::KeyDown(int code, int modifiers, bool repeat)
{
    const bool panelKey = IsPanelKey(code);
    // A key that is down already comes again only by auto-repeat, whatever the platform says.
    if (!m_down.emplace(code, modifiers).second)
        repeat = true;
    // Ctrl+I speaks the state, a dark panel's too.
    if (code == 'I' && modifiers == kCtrlDown && !repeat) {
        m_t.SpeakState();
        return true;
    }
    if (!m_s.CATOn && code != 'P')
        return panelKey;

    switch (code) {
    case vk::kPageUp: KnobStep(kMain, 1); return true;
    case vk::kPageDown: KnobStep(kMain, -1); return true;
    case vk::kMultiply: KnobStep(kSub, 1); return true;
    case vk::kDivide: KnobStep(kSub, -1); return true;
    case vk::kAdd: KnobStep(kChannel, 1); return true;
    case vk::kSubtract: KnobStep(kChannel, -1); return true;
    case 'D': FrequencyStep(-1, repeat); return true;
    case 'U':
        if (modifiers != kCtrlDown && modifiers != kShiftDown) {
            FrequencyStep(1, repeat);
            return true;
        }
        break;
    default: break;
    }
    // Every other key acts once per stroke: a held L must not flip LOCK on and off.
    if (repeat)
        return panelKey;

    const bool ctrl = modifiers == kCtrlDown;
    const bool shift = modifiers == kShiftDown;
    if (const int digit = DigitOf(code); digit >= 0) {
        Press(DigitKey(digit));
        return true;
    }
    if (code >= vk::kF1 && code <= vk::kF1 + 11) {
        // F1 the 1.8 MHz band (index 11) .. F12 the 430 MHz band (index 0).
        Press(el::BandButton(11 - (code - vk::kF1)));
        return true;
    }
    switch (code) {
    case vk::kSpace:
        if (m_t.Enabled(el::MOXbutton) && !m_s.Transmitting) {
            Press(el::MOXbutton);
            // Keying waits for the line, and a quick tap may be let go meanwhile, before the
            // key-up could see the radio on air: end the transmission it asked for.
            if (!m_down.count(vk::kSpace) && m_s.Transmitting && m_t.Enabled(el::MOXbutton))
                Press(el::MOXbutton);
        }
        break;
    case 'A':
        if (ctrl)
            Press(el::ABbutton);
        else if (shift)
            Press(el::ModeButton(4));
        break;
    case 'B':
        if (ctrl)
            Press(el::SWAPbutton);
        break;
    case 'C': Press(shift ? el::ModeButton(2) : std::string(el::CLARbutton)); break;
    case 'F': Press(shift ? el::ModeButton(5) : std::string(el::FASTbutton)); break;
    case 'H':
        if (ctrl)
            Press(el::HOMEbutton);
        break;
    case 'L':
        Press(ctrl ? std::string(el::SPLITbutton) : shift ? el::ModeButton(0) : std::string(el::LOCKbutton));
        break;
    case 'M':
        if (ctrl && m_t.Enabled(el::MCKbutton))
            m_t.MCKDown();
        break;
    case 'P': Press(el::CATbutton); break;
    case 'R': Press(el::RCLbutton); break;
    case 'S': Press(el::STObutton); break;
    case 'U': Press(ctrl ? std::string(el::SUBbutton) : el::ModeButton(1)); break;
    case 'V':
        if (ctrl)
            Press(el::VFOMRbutton);
        break;
    case vk::kDecimal: Press(el::DOPbutton); break;
    case vk::kEnter:
    case vk::kSeparator: Press(el::ENTbutton); break;
    case vk::kEscape:
        if (m_s.KeypadOn)
            Press(el::ENTbutton);
        break;
    default: break;
    }
    return panelKey;
}

void Keyboard::KeyUp(int code, int modifiers)
{
    // M and U end what their key-down started, even when Ctrl or Shift was let go first.
    if (const auto it = m_down.find(code); it != m_down.end()) {
        modifiers = it->second;
        m_down.erase(it);
    }
    switch (code) {
    case vk::kSpace:
        // Push-to-talk: back to receive.
        if (m_t.Enabled(el::MOXbutton) && m_s.Transmitting)
            Press(el::MOXbutton);
        break;
    case vk::kPageUp:
    case vk::kPageDown: KnobRelease(kMain); break;
    case vk::kMultiply:
    case vk::kDivide: KnobRelease(kSub); break;
    case vk::kAdd:
    case vk::kSubtract: KnobRelease(kChannel); break;
    case 'M':
        if (modifiers == kCtrlDown)
            m_t.MCKUp();
        break;
    case 'D': FrequencyStepEnd(); break;
    case 'U':
        if (modifiers != kCtrlDown && modifiers != kShiftDown)
            FrequencyStepEnd();
        break;
    default: break;
    }
}

void Keyboard::FocusLost()
{
    const std::map<int, int> held = m_down;
    for (const auto& [code, modifiers] : held)
        KeyUp(code, modifiers);
    m_down.clear();
}

} // namespace kivo::panel
