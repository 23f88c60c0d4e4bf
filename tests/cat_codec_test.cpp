// Frame encoders and reply decoders of the CAT command set.

#include "radio/CatCodec.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

namespace kivo::radio {
namespace {

using kivo::testing::F;

std::string Hex(const std::string& bytes)
{
    static const char* d = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : bytes) {
        if (!out.empty())
            out += ' ';
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

TEST(CatCodec, FrequencyBcdAtItsLimits)
{
    struct Row {
        Long freq;
        const char* frame; // nullptr: not sent
    } rows[] = {
        {14420000, "14 42 00 00 01"},
        {712500, "00 71 25 00 01"},
        {47500, "00 04 75 00 01"},
        {10000, "00 01 00 00 01"},
        {99999999, "99 99 99 99 01"},
        {12345678, "12 34 56 78 01"},
        {9999, nullptr},
        {100000000, nullptr},
        {0, nullptr},
        {-14420000, nullptr},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.freq);
        const auto f = FreqFrame(r.freq);
        if (!r.frame)
            EXPECT_FALSE(f.has_value());
        else
            EXPECT_EQ(Hex(f.value()), r.frame);
    }
}

TEST(CatCodec, RepeaterOffsetTruncatesTo10kHzWhateverCameBefore)
{
    struct Row {
        const char* name;
        Long offset;
        const char* frame;
    } const rows[] = {
        {"600 kHz", 60000, "00 06 00 00 F9"},
        {"5 MHz", 500000, "00 50 00 00 F9"},
        {"7.6 MHz", 760000, "00 76 00 00 F9"},
        {"6.125 MHz, sent as 6.12", 612500, "00 61 20 00 F9"},
        {"10 kHz", 1000, "00 00 10 00 F9"},
        {"99.99 MHz", 9999999, "09 99 90 00 F9"},
        // Below 10 kHz the truncated value, not the bytes of the offset sent before.
        {"9.99 kHz", 999, "00 00 00 00 F9"},
        {"0", 0, "00 00 00 00 F9"},
        {"100 MHz, the most the frame carries", 10000000, "09 99 90 00 F9"},
        {"negative, as none", -60000, "00 00 00 00 F9"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(Hex(RptOffsetFrame(r.offset)), r.frame) << r.name;
}

TEST(CatCodec, TablesMatchTheRadio)
{
    const char* captions[] = {"LSB", "USB", "CW", "CW-R", "AM", "FM", "DIG", "PKT"};
    const int codes[] = {0x00, 0x01, 0x02, 0x03, 0x04, 0x08, 0x0A, 0x0C};
    for (int m = 0; m < 8; ++m) {
        EXPECT_STREQ(ModeTable[m].caption, captions[m]);
        EXPECT_EQ(ModeTable[m].code, codes[m]);
        EXPECT_EQ(Hex(ModeFrame(Integer(m))).substr(0, 2), Hex(std::string(1, char(codes[m]))));
    }
    EXPECT_EQ(ToneModeTable[0].code, 138);
    EXPECT_EQ(ToneModeTable[1].code, 74);
    EXPECT_EQ(ToneModeTable[2].code, 42);
    EXPECT_EQ(ToneModeTable[3].code, 10);
    EXPECT_TRUE(ToneModeTable[2].enc && ToneModeTable[2].dec && !ToneModeTable[2].dcs);
    EXPECT_TRUE(!ToneModeTable[3].enc && ToneModeTable[3].dcs);

    ASSERT_EQ(CTCSSTable.size(), 39u);
    EXPECT_EQ(CTCSSTable[0].tenthsHz, 670);
    EXPECT_EQ(CTCSSTable[8].tenthsHz, 885);
    EXPECT_EQ(CTCSSTable[32].tenthsHz, 2035);
    EXPECT_EQ(CTCSSTable[38].tenthsHz, 2503);
    for (size_t i = 1; i < CTCSSTable.size(); ++i)
        EXPECT_GT(CTCSSTable[i].tenthsHz, CTCSSTable[i - 1].tenthsHz);

    ASSERT_EQ(DCSTable.size(), 104u);
    EXPECT_EQ(DCSTable[0].code, 23);
    EXPECT_EQ(DCSTable[0].p1, 0x00);
    EXPECT_EQ(DCSTable[0].p2, 0x23);
    EXPECT_EQ(DCSTable[103].code, 754);
    EXPECT_EQ(DCSTable[103].p1, 0x07);
    EXPECT_EQ(DCSTable[103].p2, 0x54);
    for (size_t i = 1; i < DCSTable.size(); ++i)
        EXPECT_GT(DCSTable[i].code, DCSTable[i - 1].code);
}

TEST(CatCodec, ToneFramesCarryTheToneAsBcdTenths)
{
    EXPECT_EQ(Hex(CtcssFrame(8)), "08 85 00 00 0B");
    EXPECT_EQ(Hex(CtcssFrame(0)), "06 70 00 00 0B");
    EXPECT_EQ(Hex(CtcssFrame(38)), "25 03 00 00 0B");
    EXPECT_EQ(Hex(CtcssFrame(12)), "10 00 00 00 0B");
    EXPECT_EQ(Hex(DcsFrame(0)), "00 23 00 00 0C");
    EXPECT_EQ(Hex(DcsFrame(103)), "07 54 00 00 0C");
    EXPECT_EQ(Hex(ToneModeFrame(0)), "8A 00 00 00 0A");
    EXPECT_EQ(Hex(ToneModeFrame(3)), "0A 00 00 00 0A");
    EXPECT_EQ(Hex(RptDirFrame(0).value()), "89 00 00 00 09");
    EXPECT_EQ(Hex(RptDirFrame(1).value()), "49 00 00 00 09");
    EXPECT_EQ(Hex(RptDirFrame(-1).value()), "09 00 00 00 09");
    EXPECT_EQ(Hex(RptDirFrame(-11).value()), "89 00 00 00 09");
    EXPECT_FALSE(RptDirFrame(2).has_value());
}

TEST(CatCodec, FreqModeReplyIsValidatedBeforeUse)
{
    struct Row {
        std::string reply;
        std::optional<FreqMode> want;
    } rows[] = {
        {F({0x14, 0x42, 0x00, 0x00, 0x08}), FreqMode{14420000, 5}},
        {F({0x00, 0x71, 0x25, 0x00, 0x00}), FreqMode{712500, 0}},
        {F({0x14, 0x42, 0x00, 0x00, 0x88}), FreqMode{14420000, 5}}, // narrow FM
        {F({0x14, 0x42, 0x00, 0x00, 0x06}), FreqMode{14420000, 1}}, // wide FM shows as USB
        {F({0x14, 0x42, 0x00, 0x00, 0x8C}), FreqMode{14420000, 7}},
        {F({0x14, 0x42, 0x00, 0x00, 0x05}), std::nullopt}, // no such mode
        {F({0x14, 0x42, 0x00, 0x00, 0xFF}), std::nullopt},
        {F({0x1A, 0x42, 0x00, 0x00, 0x08}), std::nullopt}, // not BCD
        {F({0x14, 0x42, 0x00, 0xF0, 0x08}), std::nullopt},
        {F({0x00, 0x00, 0x99, 0x99, 0x01}), std::nullopt}, // below 100 kHz
        {F({0x28, 0x00, 0x37, 0x00, 0x08}), std::nullopt}, // 280 MHz: no band of the radio's
        {F({0x05, 0x60, 0x00, 0x10, 0x01}), std::nullopt}, // just past 56 MHz
        {F({0x47, 0x00, 0x00, 0x00, 0x08}), FreqMode{47000000, 5}},
        {F({0x14, 0x42, 0x00, 0x00}), std::nullopt}, // short
        {F({0x14, 0x42, 0x00, 0x00, 0x08, 0x00}), std::nullopt},
        {std::string(), std::nullopt},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(Hex(r.reply));
        const auto got = DecodeFreqModeReply(r.reply);
        ASSERT_EQ(got.has_value(), r.want.has_value());
        if (got) {
            EXPECT_EQ(got->freq, r.want->freq);
            EXPECT_EQ(got->mode, r.want->mode);
        }
    }
    EXPECT_EQ(ModeOfCode(0x06), 1);
    EXPECT_EQ(ModeOfCode(0x88), 5);
}

TEST(CatCodec, StatusBytes)
{
    auto rx = DecodeRxStatus(0x0F);
    EXPECT_TRUE(rx.busy);
    EXPECT_TRUE(rx.centred);
    EXPECT_EQ(rx.sMeter, 15);
    rx = DecodeRxStatus(0xA5);
    EXPECT_FALSE(rx.busy);
    EXPECT_FALSE(rx.centred);
    EXPECT_EQ(rx.sMeter, 5);
    EXPECT_EQ(TxPowerWatts(0x0C), 5.0);
    EXPECT_EQ(TxPowerWatts(0x04), 1.0);
    EXPECT_EQ(TxPowerWatts(0x81 & 0x1F), 0.5);
    EXPECT_EQ(TxPowerWatts(0x06), 2.5);
    EXPECT_EQ(TxPowerWatts(0x00), 0.0);
}

TEST(CatCodec, FrequencyText)
{
    EXPECT_EQ(FreqText(14420000), "144.200.00");
    EXPECT_EQ(FreqText(14543000), "145.430.00");
    EXPECT_EQ(FreqText(712500), "7.125.00");
    EXPECT_EQ(FreqText(2830000), "28.300.00");
    EXPECT_EQ(FreqText(43350025), "433.500.25");
    EXPECT_EQ(FreqText(100500), "1.005.00");
    EXPECT_EQ(FreqText(47500), ".475.00");
}

} // namespace
} // namespace kivo::radio
