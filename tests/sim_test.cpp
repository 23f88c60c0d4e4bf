#include "platform/VirtualEventLoop.h"
#include "sim/Ft817.h"
#include "sim/SimPort.h"
#include "sim/Wire.h"
#include "tests/support/Bytes.h"

#include <gtest/gtest.h>

using namespace kivo;
using kivo::sim::Fault;

namespace {

using kivo::testing::F;

TEST(Ft817, SetCommandsChangeStateAndInvalidFramesChangeNothing)
{
    sim::Ft817 r;
    EXPECT_EQ(r.HandleFrame(F({0x43, 0x39, 0x00, 0x00, 0x01})).bytes, F({0x00}));
    EXPECT_EQ(r.A().freq, 43390000u);
    r.HandleFrame(F({0x4A, 0x39, 0x00, 0x00, 0x01})); // nibble A
    r.HandleFrame(F({0x99, 0x00, 0x00, 0x00, 0x01})); // 990 MHz, no band
    EXPECT_EQ(r.A().freq, 43390000u);

    r.HandleFrame(F({0x0C, 0, 0, 0, 0x07}));
    EXPECT_EQ(r.A().mode, 0x0C);
    r.HandleFrame(F({0x05, 0, 0, 0, 0x07})); // no such mode
    EXPECT_EQ(r.A().mode, 0x0C);

    r.HandleFrame(F({0x08, 0x85, 0, 0, 0x0B}));
    EXPECT_EQ(r.CtcssTenthsHz(), 885);
    r.HandleFrame(F({0x25, 0x03, 0, 0, 0x0B}));
    EXPECT_EQ(r.CtcssTenthsHz(), 2503);
    r.HandleFrame(F({0x0E, 0, 0, 0, 0x0B}));    // another radio's code byte: no tone
    r.HandleFrame(F({0x08, 0x86, 0, 0, 0x0B})); // 88.6 Hz is not a tone
    EXPECT_EQ(r.CtcssTenthsHz(), 2503);

    r.HandleFrame(F({0x07, 0x54, 0, 0, 0x0C}));
    EXPECT_EQ(r.DcsCode(), 754);
    r.HandleFrame(F({0x00, 0x24, 0, 0, 0x0C})); // 024 is not a code
    EXPECT_EQ(r.DcsCode(), 754);

    r.HandleFrame(F({0x49, 0, 0, 0, 0x09}));
    EXPECT_EQ(r.RptDir(), 1);
    r.HandleFrame(F({0x09, 0, 0, 0, 0x09}));
    EXPECT_EQ(r.RptDir(), -1);
    r.HandleFrame(F({0x89, 0, 0, 0, 0x09}));
    EXPECT_EQ(r.RptDir(), 0);
    r.HandleFrame(F({0x00, 0x50, 0x00, 0x00, 0xF9}));
    EXPECT_EQ(r.RptOffset(), 500000u);

    const std::array<std::pair<int, int>, 4> tones{{{0x8A, 0}, {0x4A, 1}, {0x2A, 2}, {0x0A, 3}}};
    for (auto [code, mode] : tones) {
        r.HandleFrame(F({code, 0, 0, 0, 0x0A}));
        EXPECT_EQ(r.ToneMode(), mode);
    }
}

TEST(Ft817, ReadsTogglesAcknowledgementsAndEeprom)
{
    sim::Ft817 r;
    auto answer = [&r](std::string frame) { return r.HandleFrame(frame).bytes; };
    answer(F({0x01, 0x42, 0x34, 0x56, 0x01}));
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x03})), F({0x01, 0x42, 0x34, 0x56, 0x08}));
    EXPECT_TRUE(r.HandleFrame(F({0, 0, 0, 0, 0x03})).read);
    answer(F({0, 0, 0, 0, 0x81}));
    EXPECT_TRUE(r.OnB());
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x03})), F({0x43, 0x30, 0x00, 0x00, 0x08}));

    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x02})), F({0x00}));
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x02})), F({0xF0})); // already split
    EXPECT_TRUE(r.Split());
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x82})), F({0x00}));
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x82})), F({0xF0}));
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x08})), F({0x00}));
    EXPECT_TRUE(r.Transmitting());
    EXPECT_EQ(std::uint8_t(answer(F({0, 0, 0, 0, 0xF7}))[0]) & 0x80, 0);
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x88})), F({0x00}));
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0xF7})), F({0xFF}));
    const auto set = r.HandleFrame(F({0x14, 0x20, 0, 0, 0x01}));
    EXPECT_EQ(set.bytes, F({0x00}));
    EXPECT_FALSE(set.read);
    EXPECT_EQ(answer(F({0, 0, 0, 0, 0x42})), F({0x00})); // unknown, and still acknowledged

    // Memory reads: two bytes from the address; the bytes that mirror the radio's state follow it.
    r.Eeprom()[0x55] = 0x12;
    r.Eeprom()[0x56] = 0x34;
    r.Eeprom()[0x7A] = 0x05;
    const struct {
        const char* what;
        std::string frame;
        std::string before, after; // as the radio is now (on B, no split, receiving), and after it
        std::string change;
    } rows[] = {
        {"stored bytes", F({0x00, 0x56, 0, 0, 0xBB}), F({0x34, 0x00}), F({0x34, 0x00}), ""},
        {"VFO in use", F({0x00, 0x54, 0, 0, 0xBB}), F({0x00, 0x13}), F({0x00, 0x12}), F({0, 0, 0, 0, 0x81})},
        {"split", F({0x00, 0x7A, 0, 0, 0xBB}), F({0x05, 0x00}), F({0x85, 0x00}), F({0, 0, 0, 0, 0x02})},
        // VFO A on 20 m (5), VFO B on 2 m (13); A tuned to 70 cm (14).
        {"bands", F({0x00, 0x58, 0, 0, 0xBB}), F({0x00, 0xD5}), F({0x00, 0xDE}), F({0x43, 0x30, 0x00, 0x00, 0x01})},
        {"DIG mode", F({0x00, 0x64, 0, 0, 0xBB}), F({0x00, 0x80}), F({0x00, 0x80}), ""},
        {"transmit metering", F({0, 0, 0, 0, 0xBD}), F({0x00}), F({0x80, 0x10}), F({0, 0, 0, 0, 0x08})},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(answer(row.frame), row.before);
        answer(row.change);
        EXPECT_EQ(answer(row.frame), row.after);
    }
    EXPECT_EQ(answer(F({0x1F, 0xFF, 0, 0, 0xBB})), F({0x00, 0x27})) << "the last byte, then the first";
}

TEST(Ft817, SyntheticBandGivesSignalBusyAndCentre)
{
    sim::Ft817 r;
    r.Band() = {{14430000, 12, 1200}};
    r.A().freq = 14430000;
    std::uint8_t s = r.RxStatus();
    EXPECT_EQ(s & 0x0F, 12);
    EXPECT_EQ(s & 0x80, 0); // squelch open
    EXPECT_EQ(s & 0x20, 0); // centred
    r.A().freq = 14430600;
    s = r.RxStatus();
    EXPECT_EQ(s & 0x0F, 6);
    EXPECT_NE(s & 0x20, 0);
    r.A().freq = 14500000;
    s = r.RxStatus();
    EXPECT_EQ(s & 0x0F, 0);
    EXPECT_NE(s & 0x80, 0);
}

TEST(Ft817, DescribesFrames)
{
    EXPECT_EQ(sim::DescribeFrame(F({0x14, 0x42, 0x00, 0x00, 0x01})), "14 42 00 00 01  set frequency 144.200.00 MHz");
    EXPECT_EQ(sim::DescribeFrame(F({0x08, 0x85, 0x00, 0x00, 0x0B})), "08 85 00 00 0B  CTCSS tone 88.5 Hz");
    EXPECT_EQ(sim::DescribeFrame(F({0x00, 0x23, 0x00, 0x00, 0x0C})), "00 23 00 00 0C  DCS code 023");
    EXPECT_EQ(sim::DescribeFrame(F({0x0A, 0, 0, 0, 0x07})), "0A 00 00 00 07  set mode DIG");
    EXPECT_EQ(sim::DescribeFrame(F({0, 0, 0, 0, 0x42})), "00 00 00 00 42  unknown command");
}

struct WireFixture : ::testing::Test {
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    std::string got;
    std::unique_ptr<sim::Wire> wire;
    void Make(sim::WireOptions o)
    {
        wire = std::make_unique<sim::Wire>(loop, radio, o);
        wire->send = [this](const std::string& s) { got += s; };
    }
};

// One row: frames written at given times (the whole frame at once), and what the radio answers
// and when, and which frames it dropped.
struct Sent {
    double at;
    std::string frame;
};
struct Heard {
    double at;
    std::string bytes;
};
struct WireRow {
    const char* name;
    sim::WireOptions options;
    std::vector<Sent> sent;
    std::vector<Heard> heard;
    std::vector<bool> accepted;
};

TEST_F(WireFixture, ServiceTimeAnswersAndDrops)
{
    const std::string read = F({0, 0, 0, 0, 0x03});
    const std::string setFreq = F({0x14, 0x50, 0x00, 0x00, 0x01});
    const std::string reply = F({0x14, 0x50, 0x00, 0x00, 0x08});
    const std::string pttOn = F({0, 0, 0, 0, 0x08});
    const std::vector<WireRow> rows{
        {"a read is answered when its service ends",
         {},
         {{0.0, read}},
         {{0.060, F({0x14, 0x42, 0x00, 0x00, 0x08})}},
         {true}},
        {"a read sent the moment the previous answer arrives is served",
         {},
         {{0.0, setFreq}, {0.060, read}},
         {{0.060, F({0x00})}, {0.120, reply}},
         {true, true}},
        {"set commands get 00", {}, {{0.0, setFreq}}, {{0.060, F({0x00})}}, {true}},
        {"PTT on twice gives 00 then F0",
         {},
         {{0.0, pttOn}, {0.1, pttOn}},
         {{0.060, F({0x00})}, {0.160, F({0xF0})}},
         {true, true}},
        {"a frame arriving mid-service is dropped",
         {},
         {{0.0, setFreq}, {0.030, read}, {0.100, read}},
         {{0.060, F({0x00})}, {0.160, reply}},
         {true, false, true}},
        {"the service time is settable",
         {.serviceTime = 0.150},
         {{0.0, setFreq}, {0.100, read}, {0.150, read}},
         {{0.150, F({0x00})}, {0.300, reply}},
         {true, false, true}},
        {"acks none: set commands are silent, reads answered",
         {.acks = false},
         {{0.0, setFreq}, {0.060, pttOn}, {0.120, read}},
         {{0.180, reply}},
         {true, true, true}},
        {"ideal: answers at once, only to reads",
         sim::WireOptions::Ideal(),
         {{0.0, setFreq}, {0.0, read}},
         {{0.0, reply}},
         {true, true}},
    };
    for (const auto& row : rows) {
        radio = sim::Ft817{};
        got.clear();
        loop.Advance(1.0); // a fresh start, well clear of the previous row
        Make(row.options);
        std::vector<Heard> heard;
        wire->send = [&](const std::string& s) { heard.push_back({loop.Now(), s}); };
        const double t0 = loop.Now();
        for (const auto& s : row.sent) {
            loop.ProcessEventsUntil(t0 + s.at);
            wire->Receive(s.frame);
        }
        loop.Advance(1.0);
        ASSERT_EQ(heard.size(), row.heard.size()) << row.name;
        for (std::size_t i = 0; i < heard.size(); ++i) {
            EXPECT_NEAR(heard[i].at - t0, row.heard[i].at, 1e-9) << row.name << ": answer " << i;
            EXPECT_EQ(heard[i].bytes, row.heard[i].bytes) << row.name << ": answer " << i;
        }
        ASSERT_EQ(wire->Frames().size(), row.accepted.size()) << row.name;
        for (std::size_t i = 0; i < row.accepted.size(); ++i)
            EXPECT_EQ(wire->Frames()[i].accepted, row.accepted[i]) << row.name << ": frame " << i;
    }
}

TEST_F(WireFixture, ResyncsAfterSilenceAndKeepsABoundedRecord)
{
    Make({.serviceTime = 0, .acks = false, .keepFrames = 100});
    // Three bytes, then silence: the radio drops them and takes the next frame whole.
    wire->Receive(F({0x14, 0x20, 0x00}));
    loop.Advance(0.2);
    wire->Receive(F({0x14, 0x50, 0x00, 0x00, 0x01}));
    EXPECT_EQ(radio.A().freq, 14500000u);
    ASSERT_EQ(wire->Frames().size(), 1u);

    // A long run keeps only the latest frames.
    std::string many;
    for (int i = 0; i < 100000; ++i)
        many += F({0, 0, 0, 0, 0x81});
    wire->Receive(many + F({0, 0, 0, 0, 0xE7}));
    ASSERT_EQ(wire->Frames().size(), 100u);
    EXPECT_EQ(wire->Frames().back().bytes, F({0, 0, 0, 0, 0xE7}));
    EXPECT_EQ(wire->Frames().back().answer.size(), 1u);
}

TEST_F(WireFixture, InjectedFaultsShapeTheNextReplies)
{
    Make(sim::WireOptions::Ideal());
    wire->InjectFault({Fault::Short, 3});
    wire->InjectFault({Fault::Doubled});
    wire->InjectFault({Fault::Garbage, 4});
    wire->InjectFault({Fault::NoReply});
    wire->InjectFault({Fault::Late, 0, 0.5});
    const std::string read = F({0, 0, 0, 0, 0x03});
    wire->Receive(F({0x14, 0x50, 0, 0, 0x01})); // no reply: takes no fault
    wire->Receive(read);
    EXPECT_EQ(got, F({0x14, 0x50, 0x00}));
    got.clear();
    wire->Receive(read);
    EXPECT_EQ(got.size(), 10u);
    got.clear();
    wire->Receive(read);
    EXPECT_EQ(got.size(), 4u);
    got.clear();
    wire->Receive(read);
    EXPECT_TRUE(got.empty());
    wire->Receive(read);
    EXPECT_TRUE(got.empty());
    loop.Advance(0.6);
    EXPECT_EQ(got, F({0x14, 0x50, 0, 0, 0x08}));
}

TEST(SimPort, OpensFailsAndVanishes)
{
    platform::VirtualEventLoop loop;
    sim::Ft817 radio;
    sim::SimPort port(loop, radio, sim::WireOptions::Ideal());
    std::string err;
    port.FailOpenWith("the port is in use by another program");
    EXPECT_FALSE(port.Open(err));
    EXPECT_EQ(err, "the port is in use by another program");
    ASSERT_TRUE(port.Open(err));
    port.Write(F({0, 0, 0, 0, 0x03}));
    EXPECT_EQ(port.BytesWaiting(), 5);
    port.Vanish();
    EXPECT_TRUE(port.Vanished());
    EXPECT_EQ(port.BytesWaiting(), 0);
    port.Write(F({0, 0, 0, 0, 0x81}));
    EXPECT_FALSE(radio.OnB());
    port.Close();
    EXPECT_FALSE(port.Open(err));
    port.Reappear();
    EXPECT_TRUE(port.Open(err));
    EXPECT_FALSE(port.Vanished());
}

} // namespace
