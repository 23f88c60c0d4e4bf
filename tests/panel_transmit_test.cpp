// MOX: the PTT frames and what the panel shows around them, the repeater band check, the power
// meter, and the ways the program makes sure the transmitter is released.

#include "tests/support/PanelRig.h"

using namespace kivo;
using kivo::testing::F;
using state::Integer;
using state::Long;

namespace {

const std::string kPttOn = F({0, 0, 0, 0, 0x08});
const std::string kPttOff = F({0, 0, 0, 0, 0x88});
const char* const kBandLimit = "The transmit frequency is outside the current band limit. This may be due to the PMS "
                               "frequency limits. Please adjust your offset, the frequency, or your PMS limits.";

// The usual files, lit: the main VFO on 2 m FM (band 1, tuning limits 76 to 154 MHz).
class Mox : public kivo::testing::PanelRig {
protected:
    void SetUp() override
    {
        StartLit();
        dialogs.boxes.clear();
    }
    void Main(Long freq, Integer dir, Long offset = 60000)
    {
        s.VFOMB.Freq = freq;
        s.VFOMB.RptDir = dir;
        s.VFOMB.RptOffset = offset;
        panel::VfoDisplay(s, display).ShowFreqMB();
    }
    void Press() { panel.Transmit().PressMox(); }
    std::string Freq() const { return display.Get(el::ledFreq).caption; }
};

TEST_F(Mox, FramesAndDisplaysOnAirAndBack)
{
    struct Row {
        const char* name;
        Long freq;
        Integer dir;
        bool split, clar;
        std::vector<std::string> keyed;
        const char* onAir; // ledFreq while transmitting
        std::vector<std::string> released;
        const char* after;
    } const rows[] = {
        {"simplex", 14520000, 0, false, false, {kPttOn}, "145.200.00", {kPttOff, kPttOff}, "145.200.00"},
        {"minus shift", 14550000, -1, false, false, {kPttOn}, "144.900.00", {kPttOff, kPttOff}, "145.500.00"},
        {"plus shift", 14500000, 1, false, false, {kPttOn}, "145.600.00", {kPttOff, kPttOff}, "145.000.00"},
        // The radio transmits on its other VFO: only PTT, nothing sent or shown.
        {"split", 14520000, -11, true, false, {kPttOn}, "145.200.00", {kPttOff, kPttOff}, "145.200.00"},
        {"split with the clarifier",
         14520500,
         -11,
         true,
         true,
         {kPttOn},
         "145.205.00",
         {kPttOff, kPttOff},
         "145.205.00"},
        // The clarifier moves only the receiver: the radio leaves it for the transmission.
        {"clarifier +5 kHz",
         14520500,
         0,
         false,
         true,
         {F({0x14, 0x52, 0x00, 0x00, 0x01}), kPttOn},
         "145.200.00",
         {kPttOff, kPttOff, F({0x14, 0x52, 0x05, 0x00, 0x01})},
         "145.205.00"},
        {"clarifier +5 kHz with minus shift",
         14550500,
         -1,
         false,
         true,
         {F({0x14, 0x55, 0x00, 0x00, 0x01}), kPttOn},
         "144.900.00",
         {kPttOff, kPttOff, F({0x14, 0x55, 0x05, 0x00, 0x01})},
         "145.505.00"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Main(r.freq, r.dir);
        s.SplitOn = s.RadioSplitOn = r.split;
        s.ClarOn = r.clar;
        s.VFOMB.ClarOffset = r.clar ? 500 : 0;

        Press();
        EXPECT_EQ(TakeSent(), r.keyed);
        EXPECT_EQ(Freq(), r.onAir);
        EXPECT_TRUE(s.Transmitting);
        EXPECT_TRUE(radio.Transmitting());
        EXPECT_TRUE(Shown(el::lblOnAir));
        EXPECT_TRUE(meter.TimerPowerMeter().Enabled());
        EXPECT_FALSE(meter.TimerSignalMeter().Enabled());
        EXPECT_TRUE(Enabled(el::MOXbutton)) << "so the transmission can be ended";
        EXPECT_TRUE(Enabled(el::PowerButton));
        for (const char* refused : {el::RPTbutton, el::BandUpButton, el::MainKnob, el::SubKnob, el::btnJogUp})
            EXPECT_FALSE(Enabled(refused)) << refused;

        Press();
        EXPECT_EQ(TakeSent(), r.released);
        EXPECT_EQ(Freq(), r.after);
        EXPECT_EQ(s.VFOMB.Freq, r.freq);
        EXPECT_FALSE(s.Transmitting);
        EXPECT_FALSE(radio.Transmitting());
        EXPECT_FALSE(Shown(el::lblOnAir));
        EXPECT_FALSE(meter.TimerPowerMeter().Enabled());
        EXPECT_TRUE(meter.TimerSignalMeter().Enabled());
        EXPECT_TRUE(Enabled(el::MainKnob));
        s.SplitOn = s.RadioSplitOn = s.ClarOn = false;
    }
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Mox, AShiftedTransmitFrequencyMustLieWithinTheTuningLimits)
{
    struct Row {
        const char* name;
        Long freq;
        Integer dir;
        bool clar;
        bool refused;
    } const rows[] = {
        {"plus, exactly at TuneHigh", 15340000, 1, false, true},
        {"plus, 10 Hz below TuneHigh", 15339999, 1, false, false},
        {"minus, exactly at TuneLow", 7660000, -1, false, false},
        {"minus, 10 Hz below TuneLow", 7659999, -1, false, true},
        {"plus at TuneHigh with the clarifier: nothing moves", 15340500, 1, true, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        dialogs.boxes.clear();
        Main(r.freq, r.dir);
        s.ClarOn = r.clar;
        s.VFOMB.ClarOffset = r.clar ? 500 : 0;
        const std::string shown = Freq();
        Press();
        EXPECT_EQ(s.Transmitting, !r.refused);
        EXPECT_EQ(radio.Transmitting(), !r.refused);
        if (r.refused) {
            ExpectOneBox(kBandLimit, "Help", platform::Icon::Exclamation, platform::Buttons::Ok);
            EXPECT_TRUE(TakeSent().empty());
            EXPECT_EQ(Freq(), shown);
            EXPECT_TRUE(meter.TimerSignalMeter().Enabled()) << "the receive meter is back";
            EXPECT_FALSE(Shown(el::lblOnAir));
        } else {
            EXPECT_TRUE(dialogs.boxes.empty());
            Press();
        }
        TakeSent();
        s.ClarOn = false;
    }

    // PMS limits are the tuning limits then.
    s.BandData.TuneHigh[1] = 14600000;
    Main(14560000, 1);
    Press();
    EXPECT_FALSE(s.Transmitting);
}

TEST_F(Mox, ThePowerMeterPollsWhileOnAir)
{
    Main(14520000, 0);
    Press();
    TakeFrames();
    loop.Advance(1.2);
    bool asked = false;
    for (const auto& f : TakeFrames()) {
        EXPECT_NE(f, F({0, 0, 0, 0, 0xE7})) << "no receive poll on air";
        asked = asked || f == F({0, 0, 0, 0, 0xF7});
    }
    EXPECT_TRUE(asked);
    EXPECT_EQ(meter.Gauge().Value(1), 5.0);
    EXPECT_EQ(meter.Gauge().Start(1), 0);

    Press();
    EXPECT_EQ(meter.Gauge().Value(0), 0);
    EXPECT_EQ(meter.Gauge().Value(1), 0);
    EXPECT_EQ(meter.Gauge().Value(2), 0);
    TakeFrames();
    loop.Advance(1.2);
    for (const auto& f : TakeFrames())
        EXPECT_NE(f, F({0, 0, 0, 0, 0xF7})) << "no power poll in receive";
}

TEST_F(Mox, TheMenuLockRefusesKeyingButNeverTheRelease)
{
    s.MenusLocked = true;
    Press();
    EXPECT_FALSE(s.Transmitting);
    EXPECT_TRUE(TakeSent().empty());

    s.MenusLocked = false;
    Press();
    ASSERT_TRUE(radio.Transmitting());
    s.MenusLocked = true; // locked while on air
    Press();
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_FALSE(s.Transmitting);
}

TEST_F(Mox, WithThePriorityMonitorOnMoxEndsTheMonitorInstead)
{
    int vfoMR = 0;
    panel.Transmit().hooks.vfoMRbutton = [&] {
        ++vfoMR;
        s.PRIOn = false;
    };
    s.PRIOn = true;
    s.ScanDir = 1; // a check listening on channel 0 waits while this is set
    panel.KeyEnabling().ToggleFunctionButtons();
    ASSERT_TRUE(Enabled(el::MOXbutton));
    Press();
    EXPECT_EQ(vfoMR, 1);
    EXPECT_EQ(s.ScanDir, 0);
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_TRUE(TakeSent().empty());
    EXPECT_TRUE(meter.TimerSignalMeter().Enabled());
}

TEST_F(Mox, PowerOffOnAirReleasesTheTransmitterFirst)
{
    Press();
    TakeSent();
    panel.Power().PressPower();
    const auto sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.front(), kPttOff);
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(meter.TimerPowerMeter().Enabled());
    loop.Advance(2);
    EXPECT_TRUE(TakeFrames().empty()) << "the power meter stops with the link";
}

TEST_F(Mox, ASignalsEndOnAirReleasesTheTransmitter)
{
    Press();
    TakeSent();
    panel.Power().EndUnattended();
    EXPECT_EQ(TakeSent().front(), kPttOff);
    EXPECT_FALSE(radio.Transmitting());
}

TEST_F(Mox, APortLostOnAirIsReportedAndPowerSendsTransmitOffFirst)
{
    Press();
    loop.Advance(0.3);
    port.Vanish();
    loop.Advance(2);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "SERIAL PORT ERROR");
    EXPECT_NE(dialogs.boxes[0].text.find("The radio may still be transmitting"), std::string::npos)
        << dialogs.boxes[0].text;
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(Shown(el::lblOnAir));
    EXPECT_TRUE(radio.Transmitting()) << "nothing could reach it";

    port.Reappear();
    TakeFrames();
    panel.Power().PressPower();
    ASSERT_TRUE(s.CATOn);
    EXPECT_EQ(TakeFrames().front(), kPttOff);
    EXPECT_FALSE(radio.Transmitting());

    // Lost in receive: the usual message, and nothing owed.
    dialogs.boxes.clear();
    port.Vanish();
    loop.Advance(2);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text.find("may still be transmitting"), std::string::npos);
    port.Reappear();
    TakeFrames();
    panel.Power().PressPower();
    EXPECT_NE(TakeFrames().front(), kPttOff);
}

TEST_F(Mox, MoxAgainWhilePttOnWaitsForTheLineEndsInReceive)
{
    // A real radio needs its gap between frames: PTT on waits for it, and events run meanwhile.
    cat.SetFrameGap(0.1);
    Main(14520000, 0);
    cat.SendFreqMB();
    loop.CallAt(loop.Now() + 0.05, [this] { Press(); });
    Press();
    loop.Advance(0.5);
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_FALSE(Shown(el::lblOnAir));
    EXPECT_FALSE(meter.TimerPowerMeter().Enabled());
    const auto sent = TakeSent();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back(), kPttOff);
}

} // namespace
