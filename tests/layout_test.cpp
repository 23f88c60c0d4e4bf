#include "state/Layout.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace kivo::state;

namespace {
std::int32_t I32At(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + i])) << (8 * i);
    return static_cast<std::int32_t>(v);
}
std::int16_t I16At(const std::string& b, std::size_t at)
{
    return static_cast<std::int16_t>(static_cast<std::uint8_t>(b[at]) | (static_cast<std::uint8_t>(b[at + 1]) << 8));
}
VFOInfo SampleVfo()
{
    VFOInfo v;
    v.Freq = 14420000;
    v.Mode = 5;
    v.RptOffset = 60000;
    v.RptDir = -11;
    v.ToneMode = 2;
    v.CTCSSidx = 38;
    v.DCSidx = 103;
    v.ClarOffset = -250;
    return v;
}
} // namespace

TEST(Layout, VFOInfoIsPackedLittleEndian)
{
    const std::string b = ToBytes(SampleVfo());
    ASSERT_EQ(b.size(), kVFOInfoSize);
    EXPECT_EQ(b.substr(0, 4), std::string("\x20\x08\xdc\x00", 4)); // 14420000 = 0x00DC0820
    EXPECT_EQ(I16At(b, 4), 5);
    EXPECT_EQ(I32At(b, 6), 60000) << "no gap between Mode and RptOffset";
    EXPECT_EQ(b.substr(10, 2), std::string("\xf5\xff", 2)); // -11
    EXPECT_EQ(I16At(b, 12), 2);
    EXPECT_EQ(I16At(b, 14), 38);
    EXPECT_EQ(I16At(b, 16), 103);
    EXPECT_EQ(I32At(b, 18), -250);
    EXPECT_EQ(VFOInfoFromBytes(b), SampleVfo());
}

TEST(Layout, MemRecPadsAndCutsTheDescription)
{
    MemRec m;
    m.VFO1 = SampleVfo();
    m.VFO2.Freq = 14500000;
    m.Desc.Assign("abc");
    m.BankSel = kTrue;
    m.Split = kTrue;
    m.Skip = 0;
    m.Band1 = 1;
    m.Band2 = 11;
    const std::string b = ToBytes(m);
    ASSERT_EQ(b.size(), kMemRecSize);
    EXPECT_EQ(I32At(b, 22), 14500000);
    EXPECT_EQ(b.substr(44, 49), "abc" + std::string(46, ' '));
    EXPECT_EQ(I16At(b, 93), -1);
    EXPECT_EQ(I16At(b, 95), -1);
    EXPECT_EQ(I16At(b, 97), 0);
    EXPECT_EQ(I16At(b, 99), 1);
    EXPECT_EQ(I16At(b, 101), 11);
    EXPECT_EQ(MemRecFromBytes(b), m);

    EXPECT_FALSE(m.Desc.Assign(std::string(60, 'x'))) << "a cut is reported";
    EXPECT_EQ(m.Desc.Text(), std::string(49, 'x'));
    m.Desc.Assign("Caf\u00e9 \u20ac");
    EXPECT_EQ(ToBytes(m).substr(44, 6), "Caf\xe9 \x80") << "Windows-1252 on disk";
    EXPECT_EQ(MemRecFromBytes(ToBytes(m)).Desc.Text(), "Caf\u00e9 \u20ac");
}

TEST(Layout, AllZeroRecordStaysAllZero)
{
    const std::string zeros(kMemRecSize, '\0');
    EXPECT_EQ(ToBytes(MemRecFromBytes(zeros)), zeros);
    EXPECT_FALSE(MemRecFromBytes(zeros).Used());
}

TEST(Layout, BandDataOffsetsAndDefaults)
{
    const BandDataRec d = DefaultBandData();
    const std::string b = ToBytes(d);
    ASSERT_EQ(b.size(), kBandDataRecSize);
    EXPECT_EQ(I32At(b, 0), 43200000);
    EXPECT_EQ(I32At(b, 264 + 22 * 1), 14420000);
    EXPECT_EQ(I32At(b, 528 + 22 * 11), 190000);
    EXPECT_EQ(I16At(b, 792), 430);
    EXPECT_EQ(I16At(b, 796), 50);
    EXPECT_EQ(I32At(b, 816), 42000000);
    EXPECT_EQ(I32At(b, 864 + 4 * 11), 200000);
    EXPECT_EQ(I32At(b, 912 + 4 * 3), 10000);
    EXPECT_EQ(I32At(b, 960 + 4 * 1), 15400000);
    EXPECT_EQ(I32At(b, 1008 + 4 * 1), 7600000);
    EXPECT_EQ(I32At(b, 1056), 45000000);
    EXPECT_EQ(I32At(b, 1104 + 4 * 7), 1400000);
    EXPECT_EQ(I32At(b, 1152 + 4 * 9), 730000);
    EXPECT_EQ(I16At(b, 1200), 3);
    EXPECT_EQ(I16At(b, 1202), 3);
    EXPECT_EQ(d.BandVFOMB[8].Mode, 1) << "10 MHz USB";
    EXPECT_EQ(d.BandVFOMB[9].Mode, 0) << "7 MHz LSB";
    EXPECT_EQ(d.BandVFOMB[1].RptOffset, 60000);
    EXPECT_EQ(d.BandVFOSB[4].CTCSSidx, 8);
    EXPECT_EQ(BandDataFromBytes(b), d);
}

TEST(Layout, SettingsOffsetsStepTablesAndPath)
{
    SettingsRec s = DefaultSettings();
    s.FormLeft = -15;
    s.FormTop = 300;
    s.DialStep[5][2] = 77;
    s.ChannelStep[11][7] = 1234;
    s.LastMemFile.Assign("/home/op/a.mem");
    const std::string b = ToBytes(s);
    ASSERT_EQ(b.size(), kSettingsRecSize);
    EXPECT_EQ(I32At(b, 0), -15);
    EXPECT_EQ(I32At(b, 4), 300);
    EXPECT_EQ(I16At(b, 8), 1);   // MeterSpeed
    EXPECT_EQ(I16At(b, 14), 10); // CommPort
    EXPECT_EQ(I16At(b, 16), 1);  // CatRate
    EXPECT_EQ(I16At(b, 20), 5);  // DisplayStyle
    EXPECT_EQ(I16At(b, 22), 7);  // ColorDepth
    EXPECT_EQ(I16At(b, 26), -1); // TuneOnStartup
    EXPECT_EQ(I32At(b, 28 + 4 * (5 + 12 * 2)), 77);
    EXPECT_EQ(I32At(b, 508 + 4 * (11 + 12 * 7)), 1234);
    EXPECT_EQ(I32At(b, 508 + 4 * (0 + 12 * 4)), 500);
    EXPECT_EQ(I32At(b, 28 + 4 * (3 + 12 * 8)), 0) << "mode slots 8 and 9 stay 0";
    EXPECT_EQ(I32At(b, 508 + 4 * (3 + 12 * 9)), 0);
    EXPECT_EQ(I16At(b, 988), -1);
    EXPECT_EQ(I16At(b, 990), -1);
    EXPECT_EQ(b.substr(992), "/home/op/a.mem" + std::string(256 - 14, ' '));
    EXPECT_EQ(SettingsFromBytes(b), s);
}

TEST(Layout, ShortInputReadsAsZeros)
{
    const std::string b = ToBytes(DefaultBandData()).substr(0, 1000);
    const BandDataRec r = BandDataFromBytes(b);
    EXPECT_EQ(r.BandMHz[2], 50);
    EXPECT_EQ(r.CoverHigh[9], 3700000);
    EXPECT_EQ(r.CoverHigh[10], 0) << "the tail from CoverHigh(10) on is missing";
    EXPECT_EQ(r.LastBandMB, 0);
}
