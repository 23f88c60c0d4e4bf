#pragma once
// The panel as the network rig-control protocol sees it. A client's command acts through the
// panel's own units, exactly as the operator's keys do, so the displays, the band store, the
// last-sent cache and the frame gap all stay right; reads answer from the panel's model and
// the meter's last reading, with no radio round trip.

#include "net/RigModel.h"
#include "panel/FrontPanel.h"

#include <functional>

namespace kivo::panel {

class NetworkRig final : public net::RigModel {
public:
    NetworkRig(FrontPanel& panel, state::ModKIVO& s, radio::Meter& meter) : m_panel(panel), m_s(s), m_meter(meter) {}

    // The MOX key, once the panel has one; without it the transmitter cannot be keyed from here.
    std::function<void()> moxKey;

    bool Lit() const override { return m_s.CATOn; }
    net::Got<std::int64_t> Frequency() const override;
    int SetFrequency(std::int64_t hz) override;
    net::Got<net::RigMode> Mode() const override;
    int SetMode(net::RigMode mode) override;
    net::Got<net::Vfo> CurrentVfo() const override;
    int SetVfo(net::Vfo vfo) override;
    net::Got<bool> Ptt() const override;
    int SetPtt(bool on) override;
    net::Got<bool> Split() const override;
    int SetSplit(bool on) override;
    net::Got<std::int64_t> TxFrequency() const override;
    int SetTxFrequency(std::int64_t hz) override;
    net::Got<int> SMeter() const override;

private:
    // 0 when a set may act now; else why not: the panel is dark, or busy with something the
    // operator started (an entry, a scan, memory check, a quick-memory choice).
    int SetAllowed() const;

    FrontPanel& m_panel;
    state::ModKIVO& m_s;
    radio::Meter& m_meter;
};

} // namespace kivo::panel
