#include "panel/Clarifier.h"

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
    if (m_s.ClarOn)
        m_s.VFOMB.Freq += m_s.VFOMB.ClarOffset;
    else
        m_s.VFOMB.Freq -= m_s.VFOMB.ClarOffset;
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
