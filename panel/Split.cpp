#include "panel/Split.h"

namespace kivo::panel {

using state::kModePMS;
using state::kModeVFO;

namespace {
// The radio needs a moment after the VFO sends before it takes the split command.
constexpr double kSplitSettle = 0.2;
} // namespace

Split::Split(const PanelContext& ctx, VfoModel& vfo, KeyEnabling& keys) : ContextRefs(ctx), m_vfo(vfo), m_keys(keys) {}

void Split::PressSplit()
{
    m_meter.TurnOffLMeter();
    if (m_s.SplitOn)
        Off();
    else
        On();
    m_meter.TurnOnLMeter();
}

void Split::On()
{
    m_s.SplitOn = true;
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    m_display.SetVisible(el::lblSPLIT, true);
    // A split HOME channel turns SPLIT on as it is recalled: it is not the bands' VFOs, and
    // filing it would put it in their place when HOME is left.
    if (m_s.VFOMRMode == kModeVFO && !m_s.HomeOn) {
        m_vfo.SaveInfoVFOSB();
        m_vfo.SaveInfoVFOMB();
    } else if (m_s.VFOMRMode == kModePMS && !m_s.HomeOn) {
        m_vfo.SavePMSInfo();
    }
    // The marker shows both shift marks; the radio is not told, and the band store never
    // keeps it.
    m_s.VFOMB.RptDir = -11;
    m_cat.LastInfo.MB.RptDir = -11;
    m_display.SetVisible(el::lblRXTX, true);
    m_display.SetVisible(el::lblTXRX, false);
    m_cat.ToggleVFOAB();
    m_vfo.SendInfoToRadioVFOSB();
    m_cat.ToggleVFOAB();
    platform::Pause(m_loop, kSplitSettle);
    m_cat.SendSplitOn();
}

void Split::Off()
{
    platform::Pause(m_loop, kSplitSettle);
    m_cat.SendSplitOff();
    m_s.SplitOn = false;
    m_keys.ToggleFunctionButtons();
    m_keys.ChangeTuningKnob();
    for (const char* n : {el::lblSPLIT, el::lblRXTX, el::lblTXRX})
        m_display.SetVisible(n, false);
    // The radio's VFOs may hold anything the split left there: send every field again.
    m_cat.ResetLastInfoVFO();
    m_vfo.ReenterFunction(hooks);
}

void Split::SwitchOff()
{
    if (m_s.SplitOn)
        PressSplit();
}

} // namespace kivo::panel
