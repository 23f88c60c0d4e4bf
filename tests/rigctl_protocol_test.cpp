// The network rig-control protocol as a client meets it: every command and its answer in the
// plain and extended forms, the error answers, the connect sequence and the capability block.

#include "net/Names.h"
#include "net/Protocol.h"
#include "net/Session.h"
#include "tests/support/FakeRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace kivo::net {
namespace {

// The panel as the server will show it: lit, on VFO A at 14.074 MHz USB (B at 14.076 MHz), S9.
using FakeRig = testing::FakeRig;

// The answers to each "\n"-separated line, one after the other.
std::string Talk(Session& s, const std::string& lines)
{
    std::string out;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        const Answer a = s.Handle(line);
        out += a.text + (a.close ? "<close>\n" : "");
    }
    return out;
}

struct Row {
    const char* name;
    const char* lines;
    const char* answer;
};

void RunRows(const std::vector<Row>& rows, void (*setUp)(FakeRig&) = nullptr)
{
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FakeRig rig;
        if (setUp)
            setUp(rig);
        Session s(rig);
        EXPECT_EQ(Talk(s, r.lines), r.answer);
    }
}

TEST(RigctlProtocol, EveryCommandPlainAndExtended)
{
    RunRows({
        {"get freq", "f", "14074000\n"},
        {"get freq, long name", "\\get_freq", "14074000\n"},
        {"get freq, lines", "+f", "get_freq:\nFrequency: 14074000\nRPRT 0\n"},
        {"get freq, semicolons", ";f", "get_freq:;Frequency: 14074000;RPRT 0\n"},
        {"get freq, bars", "|\\get_freq", "get_freq:|Frequency: 14074000|RPRT 0\n"},
        {"set freq", "F 7074000\nf", "RPRT 0\n7074000\n"},
        {"set freq, decimals", "F 14074000.000000\nF 7074000.5\nf", "RPRT 0\nRPRT 0\n7074001\n"},
        {"set freq, long name", "\\set_freq 7074000\nf", "RPRT 0\n7074000\n"},
        {"set freq, lines", "+F 7074000", "set_freq: 7074000\nRPRT 0\n"},
        {"set freq, semicolons", ";\\set_freq 7074000", "set_freq: 7074000;RPRT 0\n"},
        {"get mode", "m", "USB\n2200\n"},
        {"get mode, lines", "+m", "get_mode:\nMode: USB\nPassband: 2200\nRPRT 0\n"},
        {"get mode, semicolons", ";m", "get_mode:;Mode: USB;Passband: 2200;RPRT 0\n"},
        {"set mode", "M LSB 0\nm", "RPRT 0\nLSB\n2200\n"},
        {"set mode, any passband", "M CW 500\nM AM\n\\get_mode", "RPRT 0\nRPRT 0\nAM\n6000\n"},
        {"set mode, lines", "+M USB 2400", "set_mode: USB 2400\nRPRT 0\n"},
        {"set mode, long name", "\\set_mode FM -1\nm", "RPRT 0\nFM\n15000\n"},
        {"get vfo", "v", "VFOA\n"},
        {"get vfo, lines", "+v", "get_vfo:\nVFO: VFOA\nRPRT 0\n"},
        {"set vfo", "V VFOB\nv\nV Main\nv\nV Sub\n\\get_vfo", "RPRT 0\nVFOB\nRPRT 0\nVFOA\nRPRT 0\nVFOB\n"},
        {"set vfo, current", "V currVFO\nv", "RPRT 0\nVFOA\n"},
        {"set vfo, lines", "+\\set_vfo VFOB", "set_vfo: VFOB\nRPRT 0\n"},
        {"get ptt", "t\n+t", "0\nget_ptt:\nPTT: 0\nRPRT 0\n"},
        {"set ptt", "T 1\nt\nT 0\nt", "RPRT 0\n1\nRPRT 0\n0\n"},
        {"set ptt, mic and data", "T 2\nt\nT 0\nT 3\n\\get_ptt", "RPRT 0\n1\nRPRT 0\nRPRT 0\n1\n"},
        {"set ptt, lines", "+T 1", "set_ptt: 1\nRPRT 0\n"},
        {"get split", "s", "0\nVFOB\n"},
        {"get split, lines", "+s", "get_split_vfo:\nSplit: 0\nTX VFO: VFOB\nRPRT 0\n"},
        {"set split", "S 1 VFOB\ns\nS 0 VFOA\ns", "RPRT 0\n1\nVFOB\nRPRT 0\n0\nVFOB\n"},
        {"split from VFO B", "G TOGGLE\n\\set_split_vfo 1 VFOA\n\\get_split_vfo", "RPRT 0\nRPRT 0\n1\nVFOA\n"},
        {"the other VFO chosen, read and set", "V VFOB\nf\nF 7074000\nM LSB 0\nm\nV VFOA\nf\nm\nV VFOB\nf",
         "RPRT 0\n14076000\nRPRT 0\nRPRT 0\nLSB\n2200\nRPRT 0\n14074000\nUSB\n2200\nRPRT 0\n7074000\n"},
        {"toggle", "G TOGGLE\nv\nf\n+\\vfo_op TOGGLE\nv\nf",
         "RPRT 0\nVFOB\n14076000\nvfo_op: TOGGLE\nRPRT 0\nVFOA\n14074000\n"},
        {"toggle follows the radio, not the choice", "V VFOA\nG TOGGLE\nv\nV VFOB\nG TOGGLE\nv",
         "RPRT 0\nRPRT 0\nVFOB\nRPRT 0\nRPRT 0\nVFOA\n"},
        {"tx mode", "x\nX FM 0\n+x\nm",
         "USB\n2200\nRPRT 0\nget_split_mode:\nTX Mode: FM\nTX Passband: 15000\nRPRT 0\nUSB\n2200\n"},
        {"set split, lines", "+S 1 VFOB", "set_split_vfo: 1 VFOB\nRPRT 0\n"},
        {"get tx freq", "i\n+i", "14076000\nget_split_freq:\nTX Frequency: 14076000\nRPRT 0\n"},
        {"set tx freq", "I 14080000\ni\n\\set_split_freq 7076000\n\\get_split_freq",
         "RPRT 0\n14080000\nRPRT 0\n7076000\n"},
        {"strength", "l STRENGTH\n\\get_level RAWSTR", "0\n9\n"},
        {"strength, lines", "+l STRENGTH", "get_level: STRENGTH\nSTRENGTH: 0\nRPRT 0\n"},
        {"raw, semicolons", ";l RAWSTR", "get_level: RAWSTR;RAWSTR: 9;RPRT 0\n"},
        {"power", "\\get_powerstat\n+\\get_powerstat", "1\nget_powerstat:\nPower Status: 1\nRPRT 0\n"},
        {"vfo mode", "\\chk_vfo", "0\n"},
        {"lock", "\\get_lock_mode\n+\\get_lock_mode", "0\nRPRT 0\nget_lock_mode:\nLocked: 0\nRPRT 0\n"},
        {"carriage returns", "f\r\n  m\r", "14074000\nUSB\n2200\n"},
        {"quit", "q\nQ\n+q", "RPRT 0\n<close>\nRPRT 0\n<close>\nquit:\nRPRT 0\n<close>\n"},
    });
}

TEST(RigctlProtocol, ModesBothWays)
{
    const struct {
        const char* name;
        RigMode mode;
        const char* answer;
    } rows[] = {
        {"LSB", RigMode::LSB, "LSB\n2200\n"},       {"USB", RigMode::USB, "USB\n2200\n"},
        {"CW", RigMode::CW, "CW\n2200\n"},          {"CWR", RigMode::CWR, "CWR\n2200\n"},
        {"AM", RigMode::AM, "AM\n6000\n"},          {"FM", RigMode::FM, "FM\n15000\n"},
        {"PKTUSB", RigMode::DIG, "PKTUSB\n2200\n"}, {"PKTFM", RigMode::PKT, "PKTFM\n15000\n"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        FakeRig rig;
        rig.At(Vfo::A).mode = r.mode == RigMode::LSB ? RigMode::USB : RigMode::LSB;
        Session s(rig);
        EXPECT_EQ(s.Handle(std::string("M ") + r.name + " 0").text, "RPRT 0\n");
        EXPECT_EQ(rig.At(Vfo::A).mode, r.mode);
        EXPECT_EQ(s.Handle("m").text, r.answer);
    }
}

TEST(RigctlProtocol, StrengthInDbAboutS9)
{
    const std::pair<int, int> rows[] = {{0, -54}, {1, -48}, {5, -24},  {9, 0},  {10, 10},
                                        {12, 30}, {15, 60}, {-3, -54}, {31, 60}};
    for (const auto& [reading, db] : rows) {
        FakeRig rig;
        rig.sMeter = reading;
        Session s(rig);
        EXPECT_EQ(s.Handle("l STRENGTH").text, std::to_string(db) + "\n") << reading;
    }
}

TEST(RigctlProtocol, ErrorAnswers)
{
    const std::string longLine = "f" + std::string(kMaxLineLength, ' ');
    const std::string longest = "f" + std::string(kMaxLineLength - 1, ' ');
    RunRows({
        {"freq not a number", "F abc\nF\nF -5\nF 1e7\nF 7.0.1\nF 7074000 1",
         "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n"},
        {"freq the radio does not receive", "F 60000000\nF 0\nF 99999999999999\nI 500000000",
         "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\n"},
        {"freq kept after an error", "F 60000000\nf", "RPRT -1\n14074000\n"},
        {"bad number, lines", "+F abc", "set_freq: abc\nRPRT -1\n"},
        {"unknown mode", "M XYZ 0\nM WFM 0\nM RTTY 0\nM usb 0\nM\nm",
         "RPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nRPRT -1\nUSB\n2200\n"},
        {"bad passband", "M USB abc\nM USB -2", "RPRT -1\nRPRT -1\n"},
        {"unknown mode, semicolons", ";M XYZ 0", "set_mode: XYZ 0;RPRT -1\n"},
        {"bad vfo", "V VFOC\nV\nS 1 VFOZ", "RPRT -1\nRPRT -1\nRPRT -1\n"},
        {"vfo operations", "G\nG FOO\nG CPY\nG TOGGLE TOGGLE\nv", "RPRT -1\nRPRT -1\nRPRT -11\nRPRT -1\nVFOA\n"},
        {"bad ptt and split", "T 4\nT x\nS 2 VFOB\nt", "RPRT -1\nRPRT -1\nRPRT -1\n0\n"},
        {"unreadable level", "l SWR\nl\nl STRENGTH RAWSTR", "RPRT -1\nRPRT -1\nRPRT -1\n"},
        {"arguments to a get", "f VFOA\nq now", "RPRT -1\nRPRT -1\n"},
        {"unknown commands", "Z\n\\foo\nff\nL RFPOWER 0.5\n\\set_powerstat 1",
         "RPRT -4\nRPRT -4\nRPRT -4\nRPRT -4\nRPRT -4\n"},
        {"unknown command, lines", "+Z", "RPRT -4\n"},
        {"not a command",
         "\n+\n\x01"
         "f\n\t",
         "RPRT -9\nRPRT -9\nRPRT -9\nRPRT -9\n"},
        {"over-long line, then on", (longLine + "\nf").c_str(), "RPRT -9\n14074000\n"},
        {"longest line", longest.c_str(), "14074000\n"},
    });
}

TEST(RigctlProtocol, DarkPanelAndRadioErrors)
{
    RunRows(
        {
            {"gets", "f\nm\nv\nt\ns\ni\nl STRENGTH",
             "RPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\n"},
            {"sets", "F 7074000\nM LSB 0\nV VFOB\nT 1\nS 1 VFOB\nI 7074000\nX USB 0\nG TOGGLE",
             "RPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\nRPRT -11\n"},
            {"extended", "+f\n;T 1", "get_freq:\nRPRT -11\nset_ptt: 1;RPRT -11\n"},
            {"still answered", "\\get_powerstat\n\\chk_vfo\n\\get_lock_mode", "0\n0\n0\nRPRT 0\n"},
        },
        [](FakeRig& r) { r.lit = false; });
    RunRows({{"the link fails", "F 7074000\n+T 1\nf", "RPRT -5\nset_ptt: 1\nRPRT -5\n14074000\n"}},
            [](FakeRig& r) { r.setError = rprt::kIo; });
}

TEST(RigctlProtocol, ConnectSequenceAnsweredInOrder)
{
    FakeRig rig;
    Session s(rig);
    EXPECT_EQ(s.Handle("\\chk_vfo\n").text, "0\n");
    const std::string caps = s.Handle("\\dump_state\n").text;
    EXPECT_EQ(caps.substr(0, 6), "1\n1\n0\n");
    EXPECT_EQ(caps.substr(caps.size() - 5), "done\n");
    EXPECT_EQ(Talk(s, "v\nf\nV VFOB\nf\nV VFOA\ns\nm\n\\get_powerstat\nF 14076000\n\\get_lock_mode\n"),
              "VFOA\n14074000\nRPRT 0\n14076000\nRPRT 0\n0\nVFOB\nUSB\n2200\n1\nRPRT 0\n0\nRPRT 0\n");
    // A polling client, then a transmission.
    EXPECT_EQ(Talk(s, "f\nm\nt\ns\nT 1\nt\nT 0\n"), "14076000\nUSB\n2200\n0\n0\nVFOB\nRPRT 0\n1\nRPRT 0\n");
    EXPECT_EQ(Talk(s, "q\n"), "RPRT 0\n<close>\n");
}

// A client's reading of the capability block, from the protocol's description of it.
struct RangeRow {
    double start = 0, end = 0;
    unsigned long modes = 0;
    long lowMw = 0, highMw = 0;
    unsigned long vfos = 0, antennas = 0;
};
struct Caps {
    int version = 0, model = 0, itu = -1;
    std::vector<RangeRow> rx, tx;
    std::vector<std::pair<unsigned long, long>> steps, filters;
    long maxRit = -1, maxXit = -1, maxIfShift = -1, announces = -1;
    std::vector<unsigned long> masks;
    std::map<std::string, std::string> keys;
    bool done = false, trailing = false;
};

Caps ReadCaps(const std::string& block)
{
    std::istringstream in(block);
    std::string line;
    auto next = [&] {
        if (!std::getline(in, line))
            line = "end";
        return std::istringstream(line);
    };
    Caps c;
    next() >> c.version;
    next() >> c.model;
    next() >> c.itu;
    for (auto* list : {&c.rx, &c.tx})
        for (RangeRow r; next() >> r.start >> r.end >> std::hex >> r.modes >> std::dec >> r.lowMw >> r.highMw >>
                             std::hex >> r.vfos >> r.antennas &&
                         (r.start != 0 || r.end != 0);)
            list->push_back(r);
    for (auto* list : {&c.steps, &c.filters})
        for (std::pair<unsigned long, long> p; next() >> std::hex >> p.first >> std::dec >> p.second && p.first;)
            list->push_back(p);
    for (long* v : {&c.maxRit, &c.maxXit, &c.maxIfShift, &c.announces})
        next() >> *v;
    next(); // preamp levels
    next(); // attenuator levels
    for (int i = 0; i < 6; ++i)
        next() >> std::hex >> c.masks.emplace_back();
    while (std::getline(in, line) && !(c.done = line == "done"))
        if (const auto eq = line.find('='); eq != std::string::npos)
            c.keys[line.substr(0, eq)] = line.substr(eq + 1);
    c.trailing = static_cast<bool>(std::getline(in, line));
    return c;
}

template <class T> std::vector<T> List(const std::string& text)
{
    std::istringstream in(text);
    std::vector<T> out;
    for (T v; in >> v;)
        out.push_back(v);
    return out;
}

TEST(RigctlProtocol, CapabilityBlockReadByAClient)
{
    FakeRig rig;
    Session s(rig);
    const std::string block = s.Handle("\\dump_state").text;
    const Caps c = ReadCaps(block);
    EXPECT_EQ(c.version, 1);
    EXPECT_EQ(c.itu, 0);
    EXPECT_TRUE(c.done);
    EXPECT_FALSE(c.trailing);
    EXPECT_EQ(c.keys.at("rig_model"), std::to_string(c.model));

    // The mode bits of the protocol, by name.
    const std::map<std::string, unsigned long> bits = {
        {"AM", 0x1},   {"CW", 0x2},   {"USB", 0x4},     {"LSB", 0x8},      {"RTTY", 0x10},    {"FM", 0x20},
        {"WFM", 0x40}, {"CWR", 0x80}, {"RTTYR", 0x100}, {"PKTLSB", 0x400}, {"PKTUSB", 0x800}, {"PKTFM", 0x1000}};
    const std::set<std::string> ours = {"LSB", "USB", "CW", "CWR", "AM", "FM", "PKTUSB", "PKTFM"};
    unsigned long ourMask = 0;
    for (const auto& m : ours)
        ourMask |= bits.at(m);

    const std::vector<std::pair<double, double>> rx = {{100e3, 56e6}, {76e6, 154e6}, {420e6, 470e6}};
    ASSERT_EQ(c.rx.size(), rx.size());
    for (std::size_t i = 0; i < rx.size(); ++i) {
        EXPECT_EQ(std::make_pair(c.rx[i].start, c.rx[i].end), rx[i]);
        EXPECT_EQ(c.rx[i].modes, ourMask);
        EXPECT_EQ(c.rx[i].lowMw, -1);
        EXPECT_EQ(c.rx[i].vfos, 0x6u);
    }
    const std::vector<std::pair<double, double>> tx = {
        {1.8e6, 2e6},    {3.5e6, 4e6},       {7e6, 7.3e6},   {10.1e6, 10.15e6}, {14e6, 14.35e6}, {18.068e6, 18.168e6},
        {21e6, 21.45e6}, {24.89e6, 24.99e6}, {28e6, 29.7e6}, {50e6, 54e6},      {144e6, 148e6},  {420e6, 450e6}};
    ASSERT_EQ(c.tx.size(), tx.size());
    for (std::size_t i = 0; i < tx.size(); ++i) {
        EXPECT_EQ(std::make_pair(c.tx[i].start, c.tx[i].end), tx[i]);
        EXPECT_EQ(c.tx[i].modes, ourMask);
        EXPECT_EQ(std::make_pair(c.tx[i].lowMw, c.tx[i].highMw), std::make_pair(500L, 5000L));
        EXPECT_TRUE(std::any_of(rx.begin(), rx.end(),
                                [&](auto r) { return r.first <= tx[i].first && tx[i].second <= r.second; }));
    }

    // Every mode has a step, and the first filter listed for it is the passband `m` answers.
    for (const auto& m : ours) {
        SCOPED_TRACE(m);
        const unsigned long bit = bits.at(m);
        EXPECT_TRUE(std::any_of(c.steps.begin(), c.steps.end(), [&](auto st) { return st.first & bit; }));
        const auto f = std::find_if(c.filters.begin(), c.filters.end(), [&](auto fl) { return fl.first & bit; });
        ASSERT_NE(f, c.filters.end());
        ASSERT_EQ(s.Handle("M " + m + " 0").text, "RPRT 0\n");
        EXPECT_EQ(s.Handle("m").text, m + "\n" + std::to_string(f->second) + "\n");
    }
    EXPECT_EQ(c.maxRit, 9990);
    EXPECT_EQ(c.masks, (std::vector<unsigned long>{0, 0, 0x44000000, 0, 0, 0}));

    const auto tones = List<double>(c.keys.at("ctcss_list"));
    ASSERT_EQ(tones.size(), 39u);
    EXPECT_EQ(tones.front(), 67.0);
    EXPECT_EQ(tones[8], 88.5);
    EXPECT_EQ(tones.back(), 250.3);
    EXPECT_TRUE(std::is_sorted(tones.begin(), tones.end()));
    const auto codes = List<int>(c.keys.at("dcs_list"));
    ASSERT_EQ(codes.size(), 104u);
    EXPECT_EQ(codes.front(), 23);
    EXPECT_EQ(codes.back(), 754);
    EXPECT_TRUE(std::is_sorted(codes.begin(), codes.end()));
    for (const char* k : {"has_get_freq", "has_set_freq", "has_get_vfo", "has_set_vfo"})
        EXPECT_EQ(c.keys.at(k), "1") << k;

    const std::string ext = s.Handle("+\\dump_state").text;
    EXPECT_EQ(ext, "dump_state:\n" + block + "RPRT 0\n");
}

TEST(RigctlProtocol, ParseKeepsFormArgumentsAndValue)
{
    const Command c = ParseLine("+\\set_freq   7074000.4\r\n");
    EXPECT_EQ(c.cmd, Cmd::SetFreq);
    EXPECT_EQ(c.form, Form::Lines);
    EXPECT_EQ(c.error, 0);
    EXPECT_EQ(c.hz, 7074000);
    EXPECT_EQ(c.args, "7074000.4");
}

} // namespace
} // namespace kivo::net
