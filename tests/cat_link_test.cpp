#include "platform/DisplayModel.h"
#include "platform/ScriptedDialogs.h"
#include "platform/VirtualEventLoop.h"
#include "radio/Cat.h"
#include "radio/CommPort.h"
#include "radio/Meter.h"
#include "sim/Ft817.h"
#include "sim/SimPort.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

using namespace kivo;
using sim::Fault;

namespace {

using kivo::testing::F;

struct Link : ::testing::Test {
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::SimPort port{loop, radio, {.serviceTime = 0}};
    state::ModKIVO kivo;
    platform::DisplayModel display;
    platform::ScriptedDialogs dialogs;
    radio::Cat cat{kivo, port, loop, display};
    radio::CommPort comm{kivo, port, dialogs, display};

    void SetUp() override
    {
        kivo.Settings.CommPort = 1;
        kivo.Settings.CatRate = 1;
        comm.OpenCommPort();
        ASSERT_TRUE(kivo.PortReady);
    }
    std::vector<std::string> Sent() const
    {
        std::vector<std::string> v;
        for (const auto& f : port.GetWire().Frames())
            v.push_back(f.bytes);
        return v;
    }
    std::string LastSent() const
    {
        const auto& fr = port.GetWire().Frames();
        return fr.empty() ? std::string() : fr.back().bytes;
    }
};

TEST_F(Link, EverySenderPutsItsExactFrameOnTheWire)
{
    struct Case {
        const char* what;
        std::function<void()> act;
        std::string frame;
    };
    const std::vector<Case> cases{
        {"freq main",
         [&] {
             kivo.VFOMB.Freq = 14420000;
             cat.SendFreqMB();
         },
         F({0x14, 0x42, 0x00, 0x00, 0x01})},
        {"freq 7 MHz",
         [&] {
             kivo.VFOMB.Freq = 712500;
             cat.SendFreqMB();
         },
         F({0x00, 0x71, 0x25, 0x00, 0x01})},
        {"freq lowest",
         [&] {
             kivo.VFOMB.Freq = 10000;
             cat.SendFreqMB();
         },
         F({0x00, 0x01, 0x00, 0x00, 0x01})},
        {"freq highest",
         [&] {
             kivo.VFOMB.Freq = 99999999;
             cat.SendFreqMB();
         },
         F({0x99, 0x99, 0x99, 0x99, 0x01})},
        {"freq sub",
         [&] {
             kivo.VFOSB.Freq = 43300000;
             cat.SendFreqSB();
         },
         F({0x43, 0x30, 0x00, 0x00, 0x01})},
        {"mode LSB",
         [&] {
             kivo.VFOMB.Mode = 0;
             cat.SendModeMB();
         },
         F({0x00, 0, 0, 0, 0x07})},
        {"mode CW-R",
         [&] {
             kivo.VFOMB.Mode = 3;
             cat.SendModeMB();
         },
         F({0x03, 0, 0, 0, 0x07})},
        {"mode FM",
         [&] {
             kivo.VFOMB.Mode = 5;
             cat.SendModeMB();
         },
         F({0x08, 0, 0, 0, 0x07})},
        {"mode PKT sub",
         [&] {
             kivo.VFOSB.Mode = 7;
             cat.SendModeSB();
         },
         F({0x0C, 0, 0, 0, 0x07})},
        {"shift plus",
         [&] {
             kivo.VFOMB.RptDir = 1;
             cat.SendRptDirMB();
         },
         F({0x49, 0, 0, 0, 0x09})},
        {"shift minus",
         [&] {
             kivo.VFOMB.RptDir = -1;
             cat.SendRptDirMB();
         },
         F({0x09, 0, 0, 0, 0x09})},
        {"simplex",
         [&] {
             kivo.VFOMB.RptDir = 0;
             cat.SendRptDirMB();
         },
         F({0x89, 0, 0, 0, 0x09})},
        {"offset 600k",
         [&] {
             kivo.VFOMB.RptOffset = 60000;
             cat.SendRptOffset();
         },
         F({0x00, 0x06, 0x00, 0x00, 0xF9})},
        {"offset 7.6M",
         [&] {
             kivo.VFOMB.RptOffset = 760000;
             cat.SendRptOffset();
         },
         F({0x00, 0x76, 0x00, 0x00, 0xF9})},
        {"tone off",
         [&] {
             kivo.VFOMB.ToneMode = 0;
             cat.SendToneModeMB();
         },
         F({0x8A, 0, 0, 0, 0x0A})},
        {"tone enc",
         [&] {
             kivo.VFOMB.ToneMode = 1;
             cat.SendToneModeMB();
         },
         F({0x4A, 0, 0, 0, 0x0A})},
        {"tone sql",
         [&] {
             kivo.VFOMB.ToneMode = 2;
             cat.SendToneModeMB();
         },
         F({0x2A, 0, 0, 0, 0x0A})},
        {"dcs",
         [&] {
             kivo.VFOMB.ToneMode = 3;
             cat.SendToneModeMB();
         },
         F({0x0A, 0, 0, 0, 0x0A})},
        {"ctcss 67.0",
         [&] {
             kivo.VFOMB.CTCSSidx = 0;
             cat.SendCTCSSToneMB();
         },
         F({0x06, 0x70, 0, 0, 0x0B})},
        {"ctcss 88.5",
         [&] {
             kivo.VFOMB.CTCSSidx = 8;
             cat.SendCTCSSToneMB();
         },
         F({0x08, 0x85, 0, 0, 0x0B})},
        {"ctcss 250.3 sub",
         [&] {
             kivo.VFOSB.CTCSSidx = 38;
             cat.SendCTCSSToneSB();
         },
         F({0x25, 0x03, 0, 0, 0x0B})},
        {"dcs 023",
         [&] {
             kivo.VFOMB.DCSidx = 0;
             cat.SendDCSCodeMB();
         },
         F({0x00, 0x23, 0, 0, 0x0C})},
        {"dcs 754",
         [&] {
             kivo.VFOMB.DCSidx = 103;
             cat.SendDCSCodeMB();
         },
         F({0x07, 0x54, 0, 0, 0x0C})},
        {"split on", [&] { cat.SendSplitOn(); }, F({0, 0, 0, 0, 0x02})},
        {"split off", [&] { cat.SendSplitOff(); }, F({0, 0, 0, 0, 0x82})},
        {"ptt on", [&] { cat.SendPTT(true); }, F({0, 0, 0, 0, 0x08})},
        {"ptt off", [&] { cat.SendPTT(false); }, F({0, 0, 0, 0, 0x88})},
        {"toggle", [&] { cat.ToggleVFOAB(); }, F({0, 0, 0, 0, 0x81})},
    };
    for (const auto& c : cases) {
        port.GetWire().ClearFrames();
        const int before = port.WriteCount();
        c.act();
        ASSERT_EQ(Sent().size(), 1u) << c.what;
        EXPECT_EQ(LastSent(), c.frame) << c.what;
        EXPECT_EQ(port.WriteCount() - before, 1) << c.what << ": one write per frame";
    }
    // The simulator took the tone the way the radio does.
    EXPECT_EQ(radio.CtcssTenthsHz(), 2503);
    EXPECT_EQ(radio.DcsCode(), 754);
}

TEST_F(Link, SendersShowWhatTheySentAndFillTheCache)
{
    kivo.VFOMB.Freq = 14420000;
    cat.SendFreqMB();
    EXPECT_EQ(display.Get("ledFreq").caption, "144.200.00");
    kivo.VFOMB.Mode = 5;
    cat.SendModeMB();
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(display.Get(platform::DisplayModel::Indexed("lblMBmode", k)).visible, k == 5);
    kivo.VFOMB.RptDir = -1;
    cat.SendRptDirMB();
    EXPECT_FALSE(display.Get("ImgRPTdirection(0)").visible);
    EXPECT_TRUE(display.Get("ImgRPTdirection(1)").visible);
    kivo.VFOMB.ToneMode = 2;
    cat.SendToneModeMB();
    EXPECT_TRUE(display.Get("lblMainENC").visible);
    EXPECT_TRUE(display.Get("lblMainDEC").visible);
    EXPECT_FALSE(display.Get("lblMainDCS").visible);
    EXPECT_EQ(cat.LastInfo.MB.Mode, 5);
    EXPECT_EQ(cat.LastInfo.MB.ToneMode, 2);
    EXPECT_EQ(cat.LastInfo.MB.RptDir, -1);

    // The sub VFO's DCS code and tone mode never go on the wire.
    port.GetWire().ClearFrames();
    kivo.VFOSB.DCSidx = 5;
    kivo.VFOSB.ToneMode = 3;
    cat.SendDCSCodeSB();
    cat.ShowToneModeSB();
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(display.Get("lblSubDCS").visible);

    cat.LastInfo.MB.DCSidx = 7;
    cat.ResetLastInfoVFO();
    EXPECT_EQ(cat.LastInfo.MB.Mode, 999);
    EXPECT_EQ(cat.LastInfo.SB.DCSidx, 5);
    EXPECT_EQ(cat.LastInfo.MB.DCSidx, 7);
}

TEST_F(Link, NothingGoesOutForFrequenciesWithoutFiveToEightDigits)
{
    for (state::Long f : {0L, 9999L, 100000000L, -14420000L}) {
        kivo.VFOMB.Freq = f;
        cat.SendFreqMB();
    }
    EXPECT_TRUE(Sent().empty());
}

TEST_F(Link, ToggleIsBracketedByQuarterSecondPauses)
{
    double sentAt = 0;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) { sentAt = f.at; };
    const double t0 = loop.Now();
    cat.ToggleVFOAB();
    EXPECT_NEAR(sentAt - t0, 0.25, 1e-9);
    EXPECT_NEAR(loop.Now() - t0, 0.50, 1e-9);
    EXPECT_TRUE(radio.OnB());
}

TEST_F(Link, ReadTakesTheRadiosFrequencyAndMode)
{
    radio.A().freq = 43312500;
    radio.A().mode = 0x88; // FM with the narrow bit
    const double t0 = loop.Now();
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_NEAR(loop.Now() - t0, 0.3, 1e-9); // 0.2 s settle, one 0.1 s poll
    EXPECT_EQ(kivo.VFOMB.Freq, 43312500);
    EXPECT_EQ(kivo.VFOMB.Mode, 5);
    EXPECT_EQ(kivo.BandIdxMB, state::BandOfFreq(43312500, 0));
    EXPECT_EQ(display.Get("ledFreq").caption, "433.125.00");
    EXPECT_EQ(LastSent(), F({0x08, 0, 0, 0, 0x07})); // the mode goes back out as sent

    kivo.SubSelected = true;
    radio.A().freq = 710000;
    radio.A().mode = 0x00;
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOSB.Freq, 710000);
    EXPECT_EQ(kivo.VFOSB.Mode, 0);
    EXPECT_EQ(display.Get("ledSubFreq").caption, "7.100.00");
    EXPECT_EQ(kivo.VFOMB.Freq, 43312500);
}

TEST_F(Link, BadRepliesChangeNothingAndNeverShiftTheNextReply)
{
    radio.A().freq = 14420000;
    radio.A().mode = 0x08;
    kivo.VFOMB.Freq = 700000;
    kivo.VFOMB.Mode = 0;
    auto& wire = port.GetWire();
    struct Case {
        const char* what;
        sim::InjectedFault fault;
    };
    const std::vector<Case> cases{
        {"none", {Fault::NoReply}},       {"short", {Fault::Short, 3}},    {"short by one", {Fault::Short, 4}},
        {"garbage", {Fault::Garbage, 9}}, {"late", {Fault::Late, 0, 0.8}},
    };
    for (const auto& c : cases) {
        wire.InjectFault(c.fault);
        const double t0 = loop.Now();
        EXPECT_FALSE(cat.ReadFreqModeFromRadio()) << c.what;
        EXPECT_LE(loop.Now() - t0, 0.2 + 6 * 0.1 + 1e-9) << c.what << ": gives up after six polls";
        EXPECT_EQ(kivo.VFOMB.Freq, 700000) << c.what;
        EXPECT_EQ(kivo.VFOMB.Mode, 0) << c.what;
        loop.Advance(1.0); // a late reply arrives now, between reads
        radio.A().freq = 14420000 + 100 * int(&c - cases.data());
        ASSERT_TRUE(cat.ReadFreqModeFromRadio()) << c.what;
        EXPECT_EQ(kivo.VFOMB.Freq, radio.A().freq) << c.what << ": the next reply is whole";
        kivo.VFOMB.Freq = 700000;
        kivo.VFOMB.Mode = 0;
    }

    // A doubled reply is taken once, and its copy does not become the next reply.
    wire.InjectFault({Fault::Doubled});
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(port.Read(), F({0x00})) << "only the acknowledgement of the mode written back waits";
    radio.A().freq = 5035000;
    ASSERT_TRUE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOMB.Freq, 5035000);
}

TEST_F(Link, ReplyWithInvalidDigitsOrModeIsIgnored)
{
    kivo.VFOMB.Freq = 700000;
    // A radio at an impossible mode code: the reply carries 0x05.
    radio.A().mode = 0x05;
    EXPECT_FALSE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOMB.Freq, 700000);
}

TEST_F(Link, RealisticRadioAcknowledgementsDoNotDisturbTheRead)
{
    sim::SimPort real(loop, radio, {});
    radio::Cat c2(kivo, real, loop, display);
    std::string err;
    ASSERT_TRUE(real.Open(err));
    c2.SendSplitOn();
    c2.SendPTT(false); // too soon after: the radio drops it
    radio.A().freq = 14430000;
    ASSERT_TRUE(c2.ReadFreqModeFromRadio());
    EXPECT_EQ(kivo.VFOMB.Freq, 14430000);
    EXPECT_TRUE(radio.Split());
}

TEST_F(Link, HandshakePollWritesOnlyOnRequestAndTakesTheFirstByte)
{
    radio.Band() = {{14430000, 9, 1000}};
    radio.A().freq = 14430000;
    bool request = true;
    auto& wire = port.GetWire();
    wire.InjectFault({Fault::Late, 0, 0.05});
    EXPECT_FALSE(cat.PollStatus(radio::op::kReadRxStatus, request));
    EXPECT_FALSE(request);
    EXPECT_FALSE(cat.PollStatus(radio::op::kReadRxStatus, request));
    EXPECT_EQ(wire.Frames().size(), 1u); // no request while the flag is clear
    loop.Advance(0.1);
    wire.InjectFault({Fault::Doubled});
    request = true;
    cat.PollStatus(radio::op::kReadRxStatus, request); // the late byte and a doubled reply wait
    request = true;
    const auto b = cat.PollStatus(radio::op::kReadRxStatus, request);
    ASSERT_TRUE(b);
    EXPECT_EQ(*b & 0x0F, 9);
    EXPECT_EQ(port.BytesWaiting(), 0);
}

TEST_F(Link, PortMenusAndOpenErrors)
{
    // The rate menu re-opens the port at the new speed.
    comm.mnuCatRate_Click(2);
    EXPECT_EQ(port.LineSettings(), "38400,N,8,2");
    EXPECT_TRUE(display.Get("mnuCatRate(2)").checked);
    EXPECT_FALSE(display.Get("mnuCatRate(1)").checked);

    port.FailOpenWith("Permission denied (add your user to the dialout group, then log in again)");
    comm.mnuCommPortArray_Click(3);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Open Communications Port");
    EXPECT_EQ(dialogs.boxes[0].text,
              "Communications port  3 error. Permission denied (add your user to the dialout group, then log in "
              "again). Please select a new comm port from the Settings Menu.");
    EXPECT_FALSE(kivo.PortReady);
    EXPECT_TRUE(display.Get("mnuCommPortArray(10)").checked);
    EXPECT_FALSE(display.Get("mnuCommPortArray(3)").checked);

    // A failed re-open on a rate change leaves the port menu on None too.
    comm.mnuCommPortArray_Click(2);
    EXPECT_TRUE(kivo.PortReady);
    EXPECT_TRUE(display.Get("mnuCommPortArray(2)").checked);
    port.FailOpenWith("the port is in use by another program");
    comm.mnuCatRate_Click(0);
    EXPECT_FALSE(kivo.PortReady);
    EXPECT_TRUE(display.Get("mnuCommPortArray(10)").checked);

    // Nothing changes while CAT is on.
    kivo.CATOn = true;
    dialogs.boxes.clear();
    comm.mnuCommPortArray_Click(4);
    comm.mnuCatRate_Click(1);
    ASSERT_EQ(dialogs.boxes.size(), 2u);
    EXPECT_EQ(dialogs.boxes[0].title, "Communications Port Error");
    EXPECT_EQ(dialogs.boxes[0].text,
              "Cannot change the Serial Communications Port while the CAT system is in use. Please turn off the "
              "POWER button on the KIVO software before changing communications port.");
    EXPECT_EQ(dialogs.boxes[1].text,
              "Cannot change the Serial Communications Port Rate while the CAT system is in use. Please turn off "
              "the POWER button on the KIVO software before changing communications port.");
    EXPECT_EQ(kivo.Settings.CommPort, 2);
    EXPECT_EQ(kivo.Settings.CatRate, 0);

    comm.RefreshPortCaptions([](int n) { return n == 1 ? std::string("/dev/ttyUSB0") : std::string(); });
    EXPECT_EQ(display.Get("mnuCommPortArray(1)").caption, "1\t/dev/ttyUSB0");
    EXPECT_EQ(display.Get("mnuCommPortArray(2)").caption, "2");
    EXPECT_EQ(display.Get("mnuCommPortArray(10)").caption, "None");
}

struct MeterLink : Link {
    radio::Meter meter{kivo, cat, loop, display};
};

TEST_F(MeterLink, ReceivePollShowsBusyCentreAndNeedle)
{
    radio.Band() = {{14430000, 12, 1200}};
    radio.A().freq = 14430000;
    kivo.VFOMB.Mode = 5;
    meter.SetInterval(100);
    meter.TurnOnLMeter();
    loop.Advance(0.25); // a request, then the read of its reply
    EXPECT_TRUE(display.Get("lblBusy").visible);
    EXPECT_TRUE(meter.SignalCentred);
    EXPECT_EQ(meter.Gauge().Value(0), 12);
    EXPECT_EQ(meter.Gauge().Value(2), 12);
    EXPECT_EQ(meter.Gauge().Start(1), 2.25);

    radio.A().freq = 14500000; // no signal: squelch shut, off centre
    loop.Advance(0.2);
    EXPECT_FALSE(display.Get("lblBusy").visible);
    EXPECT_FALSE(meter.SignalCentred);
    EXPECT_EQ(meter.Gauge().Value(0), 0);
    EXPECT_EQ(meter.Gauge().Start(1), 1);

    meter.TurnOffLMeter();
    port.GetWire().ClearFrames();
    loop.Advance(1.0);
    EXPECT_TRUE(Sent().empty());
    EXPECT_FALSE(display.Get("lblBusy").visible);
}

TEST(MeterAndAcks, NoReadingComesFromAnAcknowledgement)
{
    // The radio as it is, and the program's frame gap: the meter polls at 100 ms while a knob's
    // send timer writes the frequency four times a second, each acknowledged with 00. With no
    // carrier near, every true reading has the squelch shut; a 00 taken for one would show busy.
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    radio.Band().clear();
    sim::SimPort port{loop, radio};
    state::ModKIVO kivo;
    platform::DisplayModel display;
    radio::Cat cat{kivo, port, loop, display};
    radio::Meter meter{kivo, cat, loop, display};
    std::string err;
    ASSERT_TRUE(port.Open(err));
    cat.SetFrameGap(0.1);
    int busy = 0, readings = 0, acks = 0;
    display.Subscribe(
        [&](const std::string& name, const platform::Element& e) { busy += name == "lblBusy" && e.visible; });
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        readings += f.bytes[4] == char(0xE7) && f.accepted;
        acks += f.answer == std::string(1, '\0');
    };
    kivo.VFOMB.Freq = 14420000;
    auto knob = loop.CreateTimer();
    knob->SetInterval(250);
    knob->onTick = [&] {
        kivo.VFOMB.Freq += 1;
        cat.SendFreqMB();
    };
    knob->SetEnabled(true);
    meter.SetInterval(100);
    meter.TurnOnLMeter();
    loop.Advance(10.0);
    EXPECT_GT(acks, 30);
    EXPECT_GT(readings, 20);
    EXPECT_EQ(busy, 0);
    EXPECT_FALSE(meter.SignalCentred);
    for (const auto& f : port.GetWire().Frames())
        EXPECT_TRUE(f.accepted) << sim::DescribeFrame(f.bytes);
}

TEST_F(MeterLink, StatusBytesDecode)
{
    meter.EvaluateRxStatus(0x0F); // busy, centred, S9+
    EXPECT_TRUE(display.Get("lblBusy").visible);
    EXPECT_TRUE(meter.SignalCentred);
    EXPECT_EQ(meter.Gauge().Value(0), 15);
    meter.EvaluateRxStatus(0xA5); // squelch shut, off centre, S5
    EXPECT_FALSE(display.Get("lblBusy").visible);
    EXPECT_FALSE(meter.SignalCentred);
    EXPECT_EQ(meter.RXStatusByte, 5);
    EXPECT_EQ(meter.Gauge().Value(0), 5);
}

TEST_F(MeterLink, PeakHoldsAboutOneSecondThenFallsToTheBottomOnly)
{
    meter.SetInterval(200);
    meter.ShowSMeter(9);
    EXPECT_EQ(meter.SMeterPeak, 9);
    for (int i = 0; i < 4; ++i)
        meter.ShowSMeter(0);
    EXPECT_EQ(meter.SMeterPeak, 9); // five ticks of 200 ms hold
    meter.ShowSMeter(0);
    EXPECT_EQ(meter.SMeterPeak, 8);
    for (int i = 0; i < 50; ++i)
        meter.ShowSMeter(0);
    EXPECT_EQ(meter.SMeterPeak, 0);
    EXPECT_EQ(meter.Gauge().Value(2), 0);
    EXPECT_GE(meter.PeakHoldTicks, -1);

    meter.SetInterval(0); // the poll is off: scans still call it
    meter.ShowSMeter(7);
    EXPECT_EQ(meter.SMeterPeak, 7);
    meter.ShowSMeter(0);
    EXPECT_EQ(meter.SMeterPeak, 6);
}

TEST_F(MeterLink, TransmitPollShowsPower)
{
    cat.SendPTT(true);
    meter.SetInterval(100);
    meter.TimerPowerMeter().SetEnabled(true);
    loop.Advance(0.15);
    EXPECT_EQ(meter.TXStatusValue, 5.0);
    EXPECT_EQ(meter.Gauge().Value(1), 5.0);
}

TEST_F(MeterLink, VanishedPortIsReportedOnceStopsPollsAndComesBack)
{
    int reports = 0;
    cat.hooks.portVanished = [&] {
        ++reports;
        comm.PortLost();
    };
    meter.SetInterval(100);
    meter.TurnOnLMeter();
    loop.Advance(0.3);
    port.Vanish();
    const int writes = port.WriteCount();
    loop.Advance(2.0);
    cat.SendFreqMB();
    cat.ToggleVFOAB();
    EXPECT_FALSE(cat.ReadFreqModeFromRadio());
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(meter.TimerSignalMeter().Enabled());
    EXPECT_FALSE(kivo.PortReady);
    EXPECT_TRUE(comm.WasLost());
    EXPECT_LE(port.WriteCount() - writes, 1); // at most the write that found it gone

    EXPECT_FALSE(comm.ReopenLost());
    port.Reappear();
    ASSERT_TRUE(comm.ReopenLost());
    cat.PortReopened();
    EXPECT_TRUE(kivo.PortReady);
    EXPECT_TRUE(display.Get("mnuCommPortArray(1)").checked);
    radio.A().freq = 14420000;
    EXPECT_TRUE(cat.ReadFreqModeFromRadio());
    port.Vanish();
    cat.SendFreqMB();
    EXPECT_EQ(reports, 2);
}

} // namespace
