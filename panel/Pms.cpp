#include "panel/Pms.h"

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

namespace {

constexpr int kPmsDigit = 6;

bool IsVhfUhf(Integer band) { return band >= 0 && band <= 2; }

} // namespace

Pms::Pms(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys, Keypad& keypad)
    : ContextRefs(ctx), m_vfo(vfo), m_keys(keys), m_keypad(keypad)
{
}

void Pms::PressPms()
{
    if (m_keypad.DigitKey(kPmsDigit))
        return;
    if (m_s.MCKOn) {
        StorePMSLimits();
        return;
    }
    // With SUB the radio is on the sub VFO: the main VFO's PMS state would be sent there.
    if (m_s.SubSelected) {
        m_dialogs.Beep();
        return;
    }
    if (m_s.VFOMRMode == state::kModePMS) {
        LeavePMS();
        return;
    }
    m_prevMode = m_s.VFOMRMode;
    ChangeToPMSfunction();
}

void Pms::StorePMSLimits()
{
    const Integer mb = m_s.BandIdxMB;
    const Integer sb = m_s.BandIdxSB;
    const char* refusal = nullptr;
    if (IsVhfUhf(mb) && sb != mb)
        refusal = "The Main VFO and Sub VFO must be on the same band when storing a PMS limit for the 430, 144, or "
                  "50 MHz band.";
    else if (!IsVhfUhf(mb) && IsVhfUhf(sb))
        refusal = "The Main VFO and Sub VFO must both be on an HF frequency when storing a PMS limit.";
    else if (m_s.VFOMB.Freq >= m_s.VFOSB.Freq)
        refusal = "The frequency in the Main VFO must be lower than the frequency in the Sub VFO. The Main VFO "
                  "should contain the lower PMS limit and the Sub VFO should contain the upper PMS limit.";
    if (refusal) {
        m_dialogs.MessageBox(refusal, kPmsLimitTitle, Icon::Exclamation, Buttons::Ok);
    } else {
        SavePMSInfo();
        const auto b = std::size_t(BandSlot(mb));
        m_s.BandData.PMSLow[b] = RoundFreqToStep(m_s.VFOMB.Freq, kPmsLimitGrid);
        m_s.BandData.PMSHigh[b] = RoundFreqToStep(m_s.VFOSB.Freq, kPmsLimitGrid);
    }
    if (hooks.turnOffMCK)
        hooks.turnOffMCK();
}

void Pms::LeavePMS()
{
    SavePMSInfo();
    m_display.SetVisible(el::ledMRnumber, false);
    if (m_prevMode == state::kModeMR) {
        if (hooks.changeToMRfunction)
            hooks.changeToMRfunction();
    } else {
        m_vfo.ChangeToVFOfunction();
    }
}

void Pms::ChangeToPMSfunction()
{
    m_display.SetVisible(el::lblMemoryDesc, false);
    if (m_s.VFOMRMode == state::kModeVFO) {
        m_vfo.SaveInfoVFOMB();
        m_vfo.SaveInfoVFOSB();
    }
    m_s.VFOMRMode = state::kModePMS;
    m_display.SetCaption(el::ledMRnumber, "LU");
    m_display.SetVisible(el::ledMRnumber, true);
    m_display.SetVisible(el::lblCH, false);
    m_vfo.GetPMSInfo();
    m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    m_keys.ToggleFunctionButtons();
    if (m_s.RadioSplitOn)
        m_cat.SendSplitOff();
}

} // namespace kivo::panel
