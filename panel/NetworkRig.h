#pragma once
// The panel as the network rig-control protocol sees it. A client's command acts through the
// panel's own units, exactly as the operator's keys do, so the displays, the band store, the
// last-sent cache and the frame gap all stay right; reads answer from the panel's model and
// the meter's last reading, with no radio round trip. The radio's VFO A is the panel's main
// VFO, its VFO B the sub VFO.

#include "net/RigModel.h"
#include "panel/FrontPanel.h"

#include <functional>

namespace kivo::panel {

class NetworkRig final : public net::RigModel {
public:
    NetworkRig(const PanelContext& ctx, FrontPanel& panel)
        : m_panel(panel), m_s(ctx.s), m_cat(ctx.cat), m_meter(ctx.meter)
    {
    }

    // The MOX key; without it the transmitter cannot be keyed from here.
    std::function<void()> moxKey;

    bool Lit() const override { return m_s.CATOn; }
    net::Got<net::Vfo> CurrentVfo() const override;
    int ToggleVfo() override;
    net::Got<std::int64_t> Frequency(net::Vfo vfo) const override;
    int SetFrequency(net::Vfo vfo, std::int64_t hz) override;
    net::Got<net::RigMode> Mode(net::Vfo vfo) const override;
    int SetMode(net::Vfo vfo, net::RigMode mode) override;
    net::Got<bool> Ptt() const override;
    int SetPtt(bool on) override;
    net::Got<bool> Split() const override;
    int SetSplit(bool on) override;
    net::Got<int> SMeter() const override;

private:
    // 0 when a set may act now; else why not: the panel is dark, on air, or busy with something
    // the operator started (an entry, a scan, memory check, a quick-memory choice).
    int SetAllowed() const;
    // 0 when a set of `vfo` may act now. The main VFO takes none while SUB is on, as on the panel.
    int SetAllowed(net::Vfo vfo) const;
    const state::VFOInfo& Info(net::Vfo vfo) const { return vfo == net::Vfo::B ? m_s.VFOSB : m_s.VFOMB; }

    FrontPanel& m_panel;
    state::ModKIVO& m_s;
    radio::RadioLink& m_cat;
    Meter& m_meter;
};

} // namespace kivo::panel
