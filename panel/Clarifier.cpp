#include "panel/Clarifier.h"

#include <algorithm>

namespace kivo::panel {

Clarifier::Clarifier(const PanelContext& ctx, KeyEnabling& keys) : ContextRefs(ctx), m_keys(keys)
{
    m_display.SetVisible(el::lblCLAR, false);
}

void Clarifier::PressClar()
{
    m_s.ClarOn = !m_s.ClarOn;
    m_display.SetVisible(el::lblCLAR, m_s.ClarOn);
    m_keys.ToggleFunctionButtons();
    // The sub knob moves the offset and the channel knob rests while CLAR is on.
    m_keys.ChangeTuningKnob();
    Long f = m_s.VFOMB.Freq + (m_s.ClarOn ? m_s.VFOMB.ClarOffset : -m_s.VFOMB.ClarOffset);
    // At a band edge (the MHz keys wrap to it, offset or not) the offset would carry the VFO out of
    // its band, below 100 kHz even, where no frame can set it: it stops at the edge.
    const auto b = std::size_t(BandSlot(m_s.BandIdxMB));
    const Long low = m_s.BandData.TuneLow[b], high = m_s.BandData.TuneHigh[b];
    if (low < high)
        f = std::clamp(f, low, high);
    m_s.VFOMB.Freq = f;
    if (!m_s.SubSelected) {
        m_cat.SendFreqMB();
        return;
    }
    // SUB leaves the main VFO in the radio's other VFO (power-off presses CLAR before SUB).
    m_cat.ToggleVFOAB();
    m_cat.SendFreqMB();
    m_cat.ToggleVFOAB();
}

void Clarifier::SwitchOff()
{
    if (m_s.ClarOn)
        PressClar();
}

} // namespace kivo::panel
