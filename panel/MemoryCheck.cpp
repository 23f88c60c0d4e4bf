#include "panel/MemoryCheck.h"

namespace kivo::panel {

using state::kModeMR;

namespace {
constexpr const char* kTagOff = "OFF";
constexpr const char* kTagFirst = "ONE";
constexpr const char* kTagSecond = "TWO";
} // namespace

MemoryCheck::MemoryCheck(const PanelContext& ctx, Memories& memories, KeyEnabling& keys, TimerDelay& timer)
    : ContextRefs(ctx), m_shown(ctx.s, ctx.display), m_memories(memories), m_keys(keys), m_timer(timer)
{
    m_timer.AddUser([this] { return m_s.MCKOn; }, [this] { Tick(); });
}

bool MemoryCheck::HeldLongEnough() const { return m_held && m_loop.Now() - m_keyPressTime > kHoldToStore; }

void MemoryCheck::MCKbutton_MouseDown()
{
    m_keyPressTime = m_loop.Now();
    m_held = true;
    if (m_s.MCKOn) {
        m_s.TimerDelayTag = kTagSecond;
        return;
    }
    if (m_s.TimerDelayTag != kTagOff)
        return; // dark since start-up
    m_dialogs.Beep();
    m_s.TimerDelayTag = kTagFirst;
    m_s.CurMemPos = WrapPosition(m_s.CurMemPos);
    m_display.SetCaption(el::ledMRnumber, MemoryNumberText(m_s.CurMemPos));
    m_s.PrevMemPos = m_s.CurMemPos;
    m_display.SetVisible(el::ledMRnumber, true);
    m_display.SetVisible(el::lblCH, true);
    m_s.MCKOn = true;
    m_lit = true;
    m_display.SetVisible(el::lblMCK, true);
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_timer.SetInterval(kMckBlinkMs);
    m_timer.Start();
}

void MemoryCheck::MCKbutton_MouseUp()
{
    // Judged here as well as on the ticks, so the hold does not depend on where the blink was.
    const bool store = HeldLongEnough();
    m_keyPressTime = 0;
    m_held = false;
    if (m_s.TimerDelayTag == kTagSecond && m_s.MCKOn) {
        if (store)
            Store();
        else
            TurnOffMCK();
    }
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
}

void MemoryCheck::Tick()
{
    m_lit = !m_lit;
    m_display.SetVisible(el::lblMCK, m_lit);
    if (m_s.TimerDelayTag == kTagSecond && HeldLongEnough())
        Store();
}

void MemoryCheck::ShowMainVFO()
{
    const state::VFOInfo& v = m_s.VFOMB;
    m_shown.ShowFreqMB();
    m_shown.ShowModeLabels(el::lblMBmode.name, v.Mode);
    m_shown.ShowRptDirection(v.RptDir);
    m_shown.ShowToneLabels(true, v.ToneMode);
    m_cat.ResetLastInfoVFO();
}

void MemoryCheck::Store()
{
    m_dialogs.Beep();
    m_s.TimerDelayTag = kTagOff;
    m_display.SetVisible(el::lblMCK, false);
    m_display.SetVisible(el::lblSKIP, false);
    m_s.MCKOn = false;
    m_timer.Release();
    m_s.MemChanged = true;
    m_memories.SaveVFOInfoToMemory(m_s.CurMemPos);
    if (m_s.VFOMRMode != kModeMR) {
        m_display.SetVisible(el::ledMRnumber, false);
        m_display.SetVisible(el::lblCH, false);
    } else {
        // MR now stands on the position just stored, which holds the VFO the radio has.
        m_display.SetCaption(el::lblMemoryDesc, m_s.MemData[std::size_t(WrapPosition(m_s.CurMemPos))].Desc.Text());
    }
    ShowMainVFO();
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
}

void MemoryCheck::TurnOffMCK()
{
    m_dialogs.Beep();
    m_s.TimerDelayTag = kTagOff;
    m_display.SetVisible(el::lblMCK, false);
    m_s.MCKOn = false;
    // SUB's blinking keeps the timer running.
    m_timer.Release();
    if (m_s.VFOMRMode == kModeMR) {
        m_s.CurMemPos = m_s.PrevMemPos - 1;
        m_memories.ChangeMemory(1);
    } else {
        for (const char* n : {el::ledMRnumber, el::lblCH, el::lblSKIP})
            m_display.SetVisible(n, false);
        ShowMainVFO();
    }
    // Also when HOME or power-off end memory check, not the key.
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
}

void MemoryCheck::SwitchOff()
{
    if (m_s.MCKOn)
        TurnOffMCK();
}

} // namespace kivo::panel
