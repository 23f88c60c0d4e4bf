#include "state/Layout.h"

#include <cstdint>

namespace kivo::state {

namespace {

class Writer {
public:
    void I16(Integer v) { U(static_cast<std::uint16_t>(v), 2); }
    void I32(Long v) { U(static_cast<std::uint32_t>(v), 4); }
    template <std::size_t N> void Str(const FixedString<N>& s) { out.append(s.bytes.data(), N); }
    void Vfo(const VFOInfo& v)
    {
        I32(v.Freq);
        I16(v.Mode);
        I32(v.RptOffset);
        I16(v.RptDir);
        I16(v.ToneMode);
        I16(v.CTCSSidx);
        I16(v.DCSidx);
        I32(v.ClarOffset);
    }
    void Mem(const MemRec& m)
    {
        Vfo(m.VFO1);
        Vfo(m.VFO2);
        Str(m.Desc);
        I16(m.BankSel);
        I16(m.Split);
        I16(m.Skip);
        I16(m.Band1);
        I16(m.Band2);
    }
    std::string out;

private:
    void U(std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    }
};

class Reader {
public:
    explicit Reader(std::string_view b) : m_b(b) {}
    Integer I16() { return static_cast<Integer>(static_cast<std::uint16_t>(U(2))); }
    Long I32() { return static_cast<Long>(U(4)); }
    template <std::size_t N> void Str(FixedString<N>& s)
    {
        for (std::size_t i = 0; i < N; ++i)
            s.bytes[i] = static_cast<char>(Byte());
    }
    VFOInfo Vfo()
    {
        VFOInfo v;
        v.Freq = I32();
        v.Mode = I16();
        v.RptOffset = I32();
        v.RptDir = I16();
        v.ToneMode = I16();
        v.CTCSSidx = I16();
        v.DCSidx = I16();
        v.ClarOffset = I32();
        return v;
    }
    MemRec Mem()
    {
        MemRec m;
        m.VFO1 = Vfo();
        m.VFO2 = Vfo();
        Str(m.Desc);
        m.BankSel = I16();
        m.Split = I16();
        m.Skip = I16();
        m.Band1 = I16();
        m.Band2 = I16();
        return m;
    }

private:
    std::uint8_t Byte()
    {
        const std::uint8_t b = m_pos < m_b.size() ? static_cast<std::uint8_t>(m_b[m_pos]) : 0;
        ++m_pos;
        return b;
    }
    std::uint32_t U(int n)
    {
        std::uint32_t v = 0;
        for (int i = 0; i < n; ++i)
            v |= static_cast<std::uint32_t>(Byte()) << (8 * i);
        return v;
    }
    std::string_view m_b;
    std::size_t m_pos = 0;
};

} // namespace

std::string ToBytes(const VFOInfo& v)
{
    Writer w;
    w.Vfo(v);
    return w.out;
}

std::string ToBytes(const MemRec& m)
{
    Writer w;
    w.Mem(m);
    return w.out;
}

std::string ToBytes(const BandDataRec& b)
{
    Writer w;
    for (const auto& v : b.BandVFOMB)
        w.Vfo(v);
    for (const auto& v : b.BandVFOSB)
        w.Vfo(v);
    for (const auto& v : b.BandPMSVFO)
        w.Vfo(v);
    for (auto x : b.BandMHz)
        w.I16(x);
    for (const auto* table :
         {&b.BandLow, &b.BandHigh, &b.CoverLow, &b.CoverHigh, &b.TuneLow, &b.TuneHigh, &b.PMSLow, &b.PMSHigh})
        for (auto x : *table)
            w.I32(x);
    w.I16(b.LastBandMB);
    w.I16(b.LastBandSB);
    return w.out;
}

std::string ToBytes(const SettingsRec& s)
{
    Writer w;
    w.I32(s.FormLeft);
    w.I32(s.FormTop);
    for (Integer x : {s.MeterSpeed, s.ScanSpeed, s.PRISpeed, s.CommPort, s.CatRate, s.DisplaySize, s.DisplayStyle,
                      s.ColorDepth, s.PauseInterval, s.TuneOnStartup})
        w.I16(x);
    // Band index runs fastest: element (b, m) sits at 4 * (b + 12 * m).
    for (const auto* table : {&s.DialStep, &s.ChannelStep})
        for (int m = 0; m < kStepModeSlots; ++m)
            for (int b = 0; b < kBandCount; ++b)
                w.I32((*table)[b][m]);
    w.I16(s.AutoRptShift144);
    w.I16(s.AutoRptShift430);
    w.Str(s.LastMemFile);
    return w.out;
}

VFOInfo VFOInfoFromBytes(std::string_view bytes) { return Reader(bytes).Vfo(); }

MemRec MemRecFromBytes(std::string_view bytes) { return Reader(bytes).Mem(); }

MemRec MemRecAt(std::string_view file, std::size_t index)
{
    const std::size_t at = index * kMemRecSize;
    return MemRecFromBytes(at < file.size() ? file.substr(at, kMemRecSize) : std::string_view{});
}

BandDataRec BandDataFromBytes(std::string_view bytes)
{
    Reader r(bytes);
    BandDataRec b;
    for (auto& v : b.BandVFOMB)
        v = r.Vfo();
    for (auto& v : b.BandVFOSB)
        v = r.Vfo();
    for (auto& v : b.BandPMSVFO)
        v = r.Vfo();
    for (auto& x : b.BandMHz)
        x = r.I16();
    for (auto* table :
         {&b.BandLow, &b.BandHigh, &b.CoverLow, &b.CoverHigh, &b.TuneLow, &b.TuneHigh, &b.PMSLow, &b.PMSHigh})
        for (auto& x : *table)
            x = r.I32();
    b.LastBandMB = r.I16();
    b.LastBandSB = r.I16();
    return b;
}

SettingsRec SettingsFromBytes(std::string_view bytes)
{
    Reader r(bytes);
    SettingsRec s;
    s.FormLeft = r.I32();
    s.FormTop = r.I32();
    for (Integer* x : {&s.MeterSpeed, &s.ScanSpeed, &s.PRISpeed, &s.CommPort, &s.CatRate, &s.DisplaySize,
                       &s.DisplayStyle, &s.ColorDepth, &s.PauseInterval, &s.TuneOnStartup})
        *x = r.I16();
    for (auto* table : {&s.DialStep, &s.ChannelStep})
        for (int m = 0; m < kStepModeSlots; ++m)
            for (int b = 0; b < kBandCount; ++b)
                (*table)[b][m] = r.I32();
    s.AutoRptShift144 = r.I16();
    s.AutoRptShift430 = r.I16();
    r.Str(s.LastMemFile);
    return s;
}

} // namespace kivo::state
