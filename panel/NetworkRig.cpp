#include "panel/NetworkRig.h"

namespace kivo::panel {

using net::Got;
using net::Vfo;
using net::rprt::kInvalid;
using net::rprt::kNotAvailable;
using net::rprt::kOk;

namespace {

// Hz to the panel's 10 Hz units, to the nearest.
Long Tens(std::int64_t hz) { return Long((hz + 5) / 10); }

} // namespace

int NetworkRig::SetAllowed() const
{
    if (!m_s.CATOn || m_s.Transmitting)
        return kNotAvailable;
    if (m_s.KeypadOn || m_s.MCKOn || m_s.QMBStore || m_s.QMBRecall || m_s.ScanArmed || m_s.SearchOn || m_s.PRIOn)
        return kNotAvailable;
    return kOk;
}

int NetworkRig::SetAllowed(Vfo vfo) const
{
    if (const int r = SetAllowed(); r != kOk)
        return r;
    return vfo == Vfo::A && m_s.SubSelected ? kNotAvailable : kOk;
}

Got<Vfo> NetworkRig::CurrentVfo() const { return {kOk, m_s.SubSelected ? Vfo::B : Vfo::A}; }

int NetworkRig::ToggleVfo()
{
    if (!m_s.CATOn || !m_panel.KeyTargets().Enabled(el::SUBbutton))
        return kNotAvailable;
    m_panel.VfoOperations().PressSub();
    return kOk;
}

Got<std::int64_t> NetworkRig::Frequency(Vfo vfo) const { return {kOk, std::int64_t(Info(vfo).Freq) * 10}; }

int NetworkRig::SetFrequency(Vfo vfo, std::int64_t hz)
{
    if (const int r = SetAllowed(vfo); r != kOk)
        return r;
    // The sub VFO goes out as the panel sends it, by way of the radio's other VFO when needed.
    return m_panel.Keypad().TakeFrequency(Tens(hz), vfo == Vfo::B, false) ? kOk : kInvalid;
}

Got<net::RigMode> NetworkRig::Mode(Vfo vfo) const { return {kOk, net::RigMode(Info(vfo).Mode)}; }

int NetworkRig::SetMode(Vfo vfo, net::RigMode mode)
{
    if (const int r = SetAllowed(vfo); r != kOk)
        return r;
    if (Info(vfo).Mode == Integer(mode))
        return kOk; // the mode key reads the radio back: not for nothing
    if (vfo == Vfo::A || m_s.SubSelected) {
        m_panel.BandMode().PressMode(int(mode));
        return kOk;
    }
    // The sub VFO while the radio is on its main one: there and back, as a split sends it.
    m_meter.TurnOffLMeter();
    m_s.VFOSB.Mode = Integer(mode);
    m_cat.ToggleVFOAB();
    m_cat.SendModeSB();
    m_cat.ToggleVFOAB();
    m_meter.TurnOnLMeter();
    return kOk;
}

Got<bool> NetworkRig::Ptt() const { return {kOk, m_s.Transmitting}; }

int NetworkRig::SetPtt(bool on)
{
    if (!m_s.CATOn || !moxKey)
        return kNotAvailable;
    if (on != m_s.Transmitting)
        moxKey();
    // MOX refuses (a locked menu, a shift off the band): the answer says so.
    return on == m_s.Transmitting ? kOk : kNotAvailable;
}

Got<bool> NetworkRig::Split() const { return {kOk, m_s.SplitOn}; }

int NetworkRig::SetSplit(bool on)
{
    if (const int r = SetAllowed(); r != kOk)
        return r;
    if (on == m_s.SplitOn)
        return kOk;
    // The panel splits from its main VFO, transmitting on the sub VFO: SUB goes off first, as
    // the operator would have to press it.
    if (m_s.SubSelected && ToggleVfo() != kOk)
        return kNotAvailable;
    if (!m_panel.KeyTargets().Enabled(el::SPLITbutton))
        return kNotAvailable;
    m_panel.Split().PressSplit();
    return on == m_s.SplitOn ? kOk : kNotAvailable;
}

Got<int> NetworkRig::SMeter() const
{
    if (!m_s.CATOn)
        return {kNotAvailable, 0};
    return {kOk, m_meter.RXStatusByte};
}

} // namespace kivo::panel
