#include "panel/VfoOperations.h"

#include <algorithm>

namespace kivo::panel {

using state::kModeMR;
using state::kModeVFO;

VfoOperations::VfoOperations(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys)
    : ContextRefs(ctx), m_vfo(vfo), m_keys(keys), m_blink(ctx.loop.CreateTimer())
{
    m_blink->SetInterval(kSubBlinkMs);
    m_blink->onTick = [this] {
        m_blinkLit = !m_blinkLit;
        ShowSubMode(m_blinkLit);
    };
}

void VfoOperations::ShowSubMode(bool lit)
{
    // The label of the sub VFO's mode, not whatever the display shows at the moment: a label
    // caught in its dark phase must come back when the blinking ends.
    const int mode = std::clamp<int>(m_s.VFOSB.Mode, 0, kModeKeyCount - 1);
    m_display.SetVisible(el::lblSBmode(mode), lit);
}

void VfoOperations::PressAToB()
{
    // Only the VFO function's VFOs are the bands' own: in MR the main VFO is a memory channel
    // (and the sub VFO may be a split memory's), in PMS the main VFO is the band's PMS VFO.
    // Filing those would overwrite the band's VFO with them.
    if (m_s.VFOMRMode == kModeVFO)
        m_vfo.SaveInfoVFOMB();
    if (m_s.VFOMRMode != kModeMR)
        m_vfo.SaveInfoVFOSB();
    const Integer band = Integer(BandSlot(m_s.BandIdxMB));
    state::VFOInfo copy = m_s.VFOMB;
    if (copy.RptDir == -11)
        copy.RptDir = 0; // the split marker belongs to the live main VFO only
    m_s.BandData.BandVFOSB[band] = copy;
    m_s.BandData.LastBandSB = band;
    m_s.BandIdxSB = band;
    m_vfo.GetInfoVFOSB();
    m_cat.ToggleVFOAB();
    m_vfo.SendInfoToRadioVFOSB();
    m_cat.ToggleVFOAB();
}

void VfoOperations::PressSwap()
{
    if (m_s.VFOMRMode != kModeVFO)
        return;
    m_vfo.SaveInfoVFOMB();
    m_vfo.SaveInfoVFOSB();
    m_vfo.SwapVFOMBSB();
    m_vfo.GetLastVFOindices();
    m_vfo.GetInfoVFOMB();
    m_vfo.GetInfoVFOSB();
    m_vfo.SendInfoToRadioVFOMB(m_s.VFOMB);
    m_cat.ToggleVFOAB();
    m_vfo.SendInfoToRadioVFOSB();
    m_cat.ToggleVFOAB();
    if (m_s.HomeOn)
        m_vfo.ChangeToVFOfunction();
}

void VfoOperations::PressSub()
{
    // The panel works the other VFO from the moment the radio does: a frame a timer sends during
    // the toggle's first pause (a scan's step) is meant for the VFO the radio is still on.
    m_cat.ToggleVFOAB([this] {
        m_s.SubSelected = !m_s.SubSelected;
        m_keys.ToggleFunctionButtons();
        m_keys.ChangeTuningKnob();
    });
    // The panel went dark in the toggle's pauses (its port lost): SUB ends with it, as the
    // switch-off that ran meanwhile would have ended it had SUB been lit by then.
    if (!m_s.CATOn && m_s.SubSelected) {
        PressSub();
        return;
    }
    if (m_s.SubSelected) {
        m_display.SetValue(el::LEDsub, 1);
        m_blinkLit = true;
        m_blink->SetInterval(kSubBlinkMs);
        m_blink->SetEnabled(true);
    } else {
        m_display.SetValue(el::LEDsub, 0);
        m_blink->SetEnabled(false);
        m_blinkLit = true;
        ShowSubMode(true);
    }
}

void VfoOperations::SwitchOff()
{
    if (m_s.SubSelected)
        PressSub();
}

} // namespace kivo::panel
