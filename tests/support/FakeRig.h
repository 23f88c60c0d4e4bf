#pragma once
// A radio as the network rig-control protocol sees it, held in memory: two VFOs, split, PTT
// and the meter, lit or dark, every set answering `setError`. For the protocol tests, the
// server tests, the line fuzzer and the server benchmark.

#include "net/RigModel.h"

#include <array>
#include <cstdint>

namespace kivo::testing {

class FakeRig : public net::RigModel {
public:
    struct VfoState {
        std::int64_t freq;
        net::RigMode mode;
    };

    bool Lit() const override { return lit; }
    net::Got<net::Vfo> CurrentVfo() const override { return Read(vfo); }
    int ToggleVfo() override { return Write(vfo, vfo == net::Vfo::A ? net::Vfo::B : net::Vfo::A); }
    net::Got<std::int64_t> Frequency(net::Vfo v) const override { return Read(At(v).freq); }
    int SetFrequency(net::Vfo v, std::int64_t hz) override { return Write(At(v).freq, hz); }
    net::Got<net::RigMode> Mode(net::Vfo v) const override { return Read(At(v).mode); }
    int SetMode(net::Vfo v, net::RigMode m) override { return Write(At(v).mode, m); }
    net::Got<bool> Ptt() const override { return Read(ptt); }
    int SetPtt(bool on) override { return Write(ptt, on); }
    net::Got<bool> Split() const override { return Read(split); }
    int SetSplit(bool on) override { return Write(split, on); }
    net::Got<int> SMeter() const override { return Read(sMeter); }

    VfoState& At(net::Vfo v) { return vfos[v == net::Vfo::B ? 1 : 0]; }
    const VfoState& At(net::Vfo v) const { return vfos[v == net::Vfo::B ? 1 : 0]; }

    bool lit = true;
    int setError = 0; // what every set answers while lit
    std::array<VfoState, 2> vfos{{{14074000, net::RigMode::USB}, {14076000, net::RigMode::USB}}};
    net::Vfo vfo = net::Vfo::A;
    bool ptt = false, split = false;
    int sMeter = 9;

protected:
    template <class T> net::Got<T> Read(T v) const
    {
        return lit ? net::Got<T>{0, v} : net::Got<T>{net::rprt::kNotAvailable, {}};
    }
    template <class T> int Write(T& field, T v)
    {
        if (!lit)
            return net::rprt::kNotAvailable;
        if (setError == 0)
            field = v;
        return setError;
    }
};

} // namespace kivo::testing
