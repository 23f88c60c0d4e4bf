#include "net/Capabilities.h"

#include "net/Names.h"
#include "radio/CatCodec.h"
#include "state/Records.h"

#include <algorithm>
#include <cstdio>

namespace kivo::net {

namespace {

constexpr std::uint32_t kVfoMask = 0x2 | 0x4; // VFOA, VFOB
constexpr std::uint32_t kAntennaMask = 0x3;   // the front and the rear socket
constexpr std::uint32_t kStrengthBit = 0x40000000;
constexpr std::uint32_t kRawStrBit = 0x4000000;

std::uint32_t Bits(std::initializer_list<RigMode> modes)
{
    std::uint32_t m = 0;
    for (RigMode r : modes)
        m |= ModeBit(r);
    return m;
}

std::string Hex(std::uint32_t v)
{
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%x", static_cast<unsigned>(v));
    return buf;
}

std::string RangeLine(const HzRange& r, int lowMw, int highMw)
{
    char buf[128];
    std::snprintf(buf, sizeof buf, "%lld.000000 %lld.000000 %s %d %d %s %s", static_cast<long long>(r.low),
                  static_cast<long long>(r.high), Hex(AllModesMask()).c_str(), lowMw, highMw, Hex(kVfoMask).c_str(),
                  Hex(kAntennaMask).c_str());
    return buf;
}

std::vector<std::string> BuildLines()
{
    const std::uint32_t ssb = Bits({RigMode::LSB, RigMode::USB, RigMode::CW, RigMode::CWR, RigMode::DIG});
    const std::uint32_t fm = Bits({RigMode::AM, RigMode::FM, RigMode::PKT});
    const std::uint32_t all = AllModesMask();

    std::vector<std::string> l = {"1", std::to_string(kRigModelNumber), "0"};
    for (const auto& r : ReceiveRanges())
        l.push_back(RangeLine(r, -1, -1));
    l.emplace_back("0 0 0 0 0 0 0");
    for (const auto& r : TransmitRanges())
        l.push_back(RangeLine(r, kMinPowerMw, kMaxPowerMw));
    l.emplace_back("0 0 0 0 0 0 0");

    // The dial's fine steps in every mode; channel steps as the radio offers them.
    struct Step {
        std::uint32_t modes;
        int hz;
    };
    const Step steps[] = {{all, 10},   {all, 100},  {ssb, 1000}, {ssb, 2500}, {fm, 5000},  {fm, 6250},  {fm, 10000},
                          {fm, 12500}, {fm, 15000}, {fm, 20000}, {fm, 25000}, {fm, 50000}, {fm, 100000}};
    for (const auto& s : steps)
        l.push_back(Hex(s.modes) + " " + std::to_string(s.hz));
    l.emplace_back("0 0");

    // First per mode: the stock filter (DefaultPassband); then the optional narrow CW filter and
    // the narrow FM setting.
    const Step filters[] = {{ssb, DefaultPassband(RigMode::USB)},
                            {Bits({RigMode::AM}), DefaultPassband(RigMode::AM)},
                            {Bits({RigMode::FM, RigMode::PKT}), DefaultPassband(RigMode::FM)},
                            {Bits({RigMode::CW, RigMode::CWR}), 500},
                            {Bits({RigMode::FM, RigMode::PKT}), 9000}};
    for (const auto& f : filters)
        l.push_back(Hex(f.modes) + " " + std::to_string(f.hz));
    l.emplace_back("0 0");

    // The clarifier's +-9.99 kHz; no XIT, no IF shift, no announcements, no preamp or attenuator
    // that a client could set.
    for (const char* s : {"9990", "0", "0", "0", "0", "0"})
        l.emplace_back(s);
    // Functions and parameters: none; levels: only the two meter readings, read only.
    for (std::uint32_t m : {0u, 0u, kStrengthBit | kRawStrBit, 0u, 0u, 0u})
        l.push_back(Hex(m));

    std::string ctcss = "ctcss_list=";
    for (const auto& t : radio::CTCSSTable) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "%s%d.%d", ctcss.back() == '=' ? "" : " ", t.tenthsHz / 10, t.tenthsHz % 10);
        ctcss += buf;
    }
    std::string dcs = "dcs_list=";
    for (const auto& d : radio::DCSTable)
        dcs += (dcs.back() == '=' ? "" : " ") + std::to_string(d.code);

    for (std::string kv :
         {"vfo_ops=0x1000", "ptt_type=0x1", "targetable_vfo=0x0", "has_set_vfo=1", "has_get_vfo=1", "has_set_freq=1",
          "has_get_freq=1", "has_set_conf=0", "has_get_conf=0", "has_power2mW=0", "has_mW2power=0", "timeout=1000"})
        l.push_back(std::move(kv));
    l.push_back("rig_model=" + std::to_string(kRigModelNumber));
    l.emplace_back("rigctld_version=kivo-ft817");
    l.push_back(std::move(ctcss));
    l.push_back(std::move(dcs));
    l.emplace_back("done");
    return l;
}

} // namespace

const std::vector<HzRange>& ReceiveRanges()
{
    static const std::vector<HzRange> r = {{100000, 56000000}, {76000000, 154000000}, {420000000, 470000000}};
    return r;
}

const std::vector<HzRange>& TransmitRanges()
{
    static const std::vector<HzRange> r = [] {
        // The band table's band edges, in 10 Hz units and highest band first.
        const auto bands = state::DefaultBandData();
        std::vector<HzRange> out;
        for (int b = state::kBandCount - 1; b >= 0; --b)
            out.push_back({std::int64_t(bands.BandLow[b]) * 10, std::int64_t(bands.BandHigh[b]) * 10});
        return out;
    }();
    return r;
}

bool CanReceive(std::int64_t hz)
{
    const auto& r = ReceiveRanges();
    return std::any_of(r.begin(), r.end(), [hz](const HzRange& x) { return hz >= x.low && hz <= x.high; });
}

const std::vector<std::string>& DumpStateLines()
{
    static const std::vector<std::string> lines = BuildLines();
    return lines;
}

} // namespace kivo::net
