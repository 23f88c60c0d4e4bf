#include "panel/NetworkRig.h"

namespace kivo::panel {

using net::Got;
using net::rprt::kInvalid;
using net::rprt::kNotAvailable;
using net::rprt::kOk;

namespace {

// Hz to the panel's 10 Hz units, to the nearest.
Long Tens(std::int64_t hz) { return Long((hz + 5) / 10); }

} // namespace

int NetworkRig::SetAllowed() const
{
    if (!m_s.CATOn)
        return kNotAvailable;
    if (m_s.KeypadOn || m_s.MCKOn || m_s.QMBStore || m_s.QMBRecall || m_s.ScanArmed || m_s.SearchOn || m_s.PRIOn)
        return kNotAvailable;
    return kOk;
}

Got<std::int64_t> NetworkRig::Frequency() const
{
    const auto& v = m_s.SubSelected ? m_s.VFOSB : m_s.VFOMB;
    return {kOk, std::int64_t(v.Freq) * 10};
}

int NetworkRig::SetFrequency(std::int64_t hz)
{
    if (const int r = SetAllowed(); r != kOk)
        return r;
    if (m_s.Transmitting)
        return kNotAvailable;
    return m_panel.Keypad().TakeFrequency(Tens(hz), m_s.SubSelected, false) ? kOk : kInvalid;
}

Got<net::RigMode> NetworkRig::Mode() const
{
    const auto& v = m_s.SubSelected ? m_s.VFOSB : m_s.VFOMB;
    return {kOk, net::RigMode(v.Mode)};
}

int NetworkRig::SetMode(net::RigMode mode)
{
    if (const int r = SetAllowed(); r != kOk)
        return r;
    if (m_s.Transmitting)
        return kNotAvailable;
    const auto& v = m_s.SubSelected ? m_s.VFOSB : m_s.VFOMB;
    if (v.Mode != Integer(mode)) // the mode key reads the radio back: not for nothing
        m_panel.BandMode().ModeButton_Click(int(mode));
    return kOk;
}

// The radio receives on its VFO A; the panel keeps the sub VFO in B.
Got<net::Vfo> NetworkRig::CurrentVfo() const { return {kOk, net::Vfo::A}; }

int NetworkRig::SetVfo(net::Vfo vfo)
{
    if (!m_s.CATOn)
        return kNotAvailable;
    return vfo == net::Vfo::A ? kOk : net::rprt::kVfoNotTargetable;
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
    if (m_s.Transmitting || m_s.SubSelected)
        return kNotAvailable;
    if (on != m_s.SplitOn)
        m_panel.Split().SPLITbutton_Click();
    return on == m_s.SplitOn ? kOk : kNotAvailable;
}

Got<std::int64_t> NetworkRig::TxFrequency() const
{
    const auto& v = m_s.SplitOn ? m_s.VFOSB : m_s.VFOMB;
    return {kOk, std::int64_t(v.Freq) * 10};
}

int NetworkRig::SetTxFrequency(std::int64_t hz)
{
    if (const int r = SetAllowed(); r != kOk)
        return r;
    // Without split the transmit frequency is the receive frequency, set with F.
    if (m_s.Transmitting || !m_s.SplitOn)
        return kNotAvailable;
    return m_panel.Keypad().TakeFrequency(Tens(hz), true, false) ? kOk : kInvalid;
}

Got<int> NetworkRig::SMeter() const
{
    if (!m_s.CATOn)
        return {kNotAvailable, 0};
    return {kOk, m_meter.RXStatusByte};
}

} // namespace kivo::panel
