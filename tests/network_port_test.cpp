// The radio on another machine: the whole program over a network port, through ser2net in
// front of the simulator's pseudo-terminal and through the simulator's own TCP server.

#include "panel/Program.h"
#include "platform/Elements.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SystemEventLoop.h"
#include "state/Layout.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PanelRig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <iostream>
#include <memory>

using namespace kivo;
using kivo::testing::ChildProcess;
using kivo::testing::TempDir;

namespace {

// The program as it runs, on the system clock, with the usual files (9600 bit/s) and no serial
// devices.
struct NetProgram {
    explicit NetProgram(platform::SystemEventLoop& loop) : loop(loop)
    {
        platform::PosixFileSystem fs;
        kivo::testing::WriteUsualFiles(fs, dialogs, dir.path(), false, 1);
    }
    void Start()
    {
        prog = std::make_unique<panel::Program>(loop, dialogs, window, dir.path());
        prog->port.SetDeviceLister([] { return std::vector<std::string>{}; });
        prog->network.SetConnectTimeout(2);
        prog->RefreshPorts();
        prog->panel.Power().Load();
    }
    // Settings > Serial Port > Network Port..., the form answered with these.
    void Choose(const std::string& host, const std::string& port, bool rfc2217)
    {
        dialogs.forms.push_back(
            std::vector<std::string>{host, port, rfc2217 ? radio::kRfc2217Caption : radio::kRawCaption});
        prog->menus.Click(panel::MenuGroup::CommPort, radio::kPortNetwork);
    }
    std::string Boxes() const
    {
        std::string all;
        for (const auto& b : dialogs.boxes)
            all += b.title + ": " + b.text + "\n";
        return all;
    }

    platform::SystemEventLoop& loop;
    TempDir dir;
    platform::ScriptedDialogs dialogs;
    kivo::testing::FakeWindow window;
    std::unique_ptr<panel::Program> prog;
};

std::size_t Count(const std::string& text, const std::string& what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++n;
    return n;
}

enum class Server { Ser2net, SimTcp };

struct Route {
    const char* name;
    Server server;
    bool rfc2217;
};

// The far side: ft817-sim with its frame log, behind ser2net or serving TCP itself.
class FarSide {
public:
    explicit FarSide(Route r) : m_route(r) {}

    bool Start()
    {
        m_port = kivo::testing::FreeTcpPort();
        // The radio's CAT RATE is 38400 where the program can set the rate; elsewhere the
        // server's line is set up for the radio.
        std::vector<std::string> args{"--log"};
        if (m_route.rfc2217)
            args.insert(args.end(), {"--rate", "38400"});
        if (m_route.server == Server::SimTcp) {
            args.insert(args.end(), {"--tcp", std::to_string(m_port), "--late", "50"});
            if (m_route.rfc2217)
                args.push_back("--rfc2217");
            return StartSim(args);
        }
        args.insert(args.end(), {"--link", m_dir / "radio"});
        if (!StartSim(args))
            return false;
        const std::string accepter = m_route.rfc2217 ? "telnet(rfc2217),tcp" : "tcp";
        kivo::testing::WriteAll(m_dir / "ser2net.yaml", "%YAML 1.1\n---\nconnection: &radio\n"
                                                        "    accepter: " +
                                                            accepter + ",127.0.0.1," + std::to_string(m_port) +
                                                            "\n"
                                                            "    connector: serialdev," +
                                                            (m_dir / "radio") +
                                                            ",9600n82,local\n"
                                                            "    options:\n"
                                                            "      kickolduser: true\n");
        return StartServer();
    }
    bool StartServer()
    {
        if (m_route.server == Server::SimTcp)
            return StartSim(m_simArgs);
        m_server.Start(kivo::testing::FindProgram("ser2net"),
                       {"-n", "-u", "-c", m_dir / "ser2net.yaml", "-P", m_dir / "ser2net.pid"}, m_dir / "ser2net.out");
        return kivo::testing::WaitListening(m_port, 5);
    }
    void StopServer() { (m_route.server == Server::SimTcp ? m_sim : m_server).Stop(); }
    int Port() const { return m_port; }
    std::string Log() const { return kivo::testing::ReadAll(m_dir / "sim.log"); }

private:
    bool StartSim(const std::vector<std::string>& args)
    {
        m_simArgs = args;
        const std::size_t before = Count(Log(), "serving on");
        if (!m_sim.Start(FT817_SIM_PATH, args, m_dir / "sim.log"))
            return false;
        for (int i = 0; i < 250 && Count(Log(), "serving on") == before; ++i)
            kivo::testing::WaitForText(m_dir / "sim.log", "serving on", 0.02);
        return Count(Log(), "serving on") > before;
    }

    Route m_route;
    TempDir m_dir;
    int m_port = 0;
    ChildProcess m_sim, m_server;
    std::vector<std::string> m_simArgs;
};

class OverTheNetwork : public ::testing::TestWithParam<Route> {};

} // namespace

// Detect CAT Rate (through RFC 2217), POWER, the main knob and the S-meter reach the radio over
// the network with no frame dropped and no acknowledgement taken for a reading; a server that
// stops is said once, and POWER connects again once it is back.
TEST_P(OverTheNetwork, PowerTuningMeterRateAndALostConnection)
{
    const Route route = GetParam();
    if (route.server == Server::Ser2net && kivo::testing::FindProgram("ser2net").empty())
        GTEST_SKIP() << "ser2net is not installed (scripts/setup.sh installs it)";
    FarSide far(route);
    ASSERT_TRUE(far.Start());
    platform::SystemEventLoop loop;
    NetProgram p(loop);
    p.Start();
    p.dialogs.boxes.clear(); // port 1 of the usual files is no device here
    p.Choose("127.0.0.1", std::to_string(far.Port()), route.rfc2217);
    ASSERT_TRUE(p.prog->s.PortReady) << p.Boxes();
    EXPECT_EQ(p.Boxes(), "");
    auto& s = p.prog->s;

    if (route.rfc2217) {
        // The program at 9600, the radio at 38400: the search sets each rate on the far port.
        p.prog->rateDetect.mnuDetectCatRate_Click();
        ASSERT_EQ(p.dialogs.boxes.size(), 1u) << p.Boxes();
        EXPECT_NE(p.dialogs.boxes[0].text.find("answered at 38400 bps"), std::string::npos) << p.Boxes();
        EXPECT_EQ(s.Settings.CatRate, 2);
        EXPECT_EQ(p.prog->network.ServerRate(), 38400u);
        p.dialogs.boxes.clear();
    }

    auto& power = p.prog->panel.Power();
    power.mnuMeterSpeed_Click(5); // 100 ms
    power.CATbutton_Click();
    ASSERT_TRUE(s.CATOn) << p.Boxes();
    platform::Pause(loop, 0.5);
    auto& tuning = p.prog->panel.Tuning();
    tuning.SetupTuningKnob(panel::kMainKnob, panel::kGrab);
    for (int i = 0; i < 20; ++i) {
        tuning.KnobDetent(panel::kMainKnob, -1);
        platform::Pause(loop, 0.03);
    }
    tuning.SetupTuningKnob(panel::kMainKnob, panel::kRelease);
    platform::Pause(loop, 0.6);
    EXPECT_LT(s.VFOMB.Freq, 14520000);
    p.prog->meter.TurnOffLMeter();
    auto fm = p.prog->cat.ReadFreqMode();
    ASSERT_TRUE(fm.has_value());
    EXPECT_EQ(fm->freq, s.VFOMB.Freq) << "the radio is where the knob left the panel";

    // On the 145.000 carrier (S7) the meter reads S7 every time; a set command goes out every
    // half second, and its acknowledgement must never pass for a reading of S0.
    s.VFOMB.Freq = 14500000;
    p.prog->cat.SendFreqMB();
    p.prog->meter.TurnOnLMeter();
    int readings = 0, zero = 0;
    p.prog->meter.onReading = [&](int sUnits) {
        ++readings;
        zero += sUnits == 0;
    };
    const double from = loop.Now();
    while (loop.Now() - from < 3.0) {
        platform::Pause(loop, 0.5);
        p.prog->cat.SendModeMB();
    }
    const double perSecond = readings / (loop.Now() - from);
    std::cout << route.name << ": " << perSecond << " S-meter readings per second (meter at 100 ms)\n";
    EXPECT_GE(readings, 4);
    EXPECT_EQ(zero, 0);
    p.prog->meter.onReading = nullptr;

    // The transmit status while receiving is 0xFF, which Telnet doubles on the way: it comes out
    // as one byte.
    p.prog->meter.TurnOffLMeter();
    const unsigned asked = p.prog->cat.Request(radio::MakeFrame(radio::op::kReadTxStatus));
    for (int i = 0; i < 50 && !p.prog->cat.AnswerWaiting(asked); ++i)
        platform::Pause(loop, 0.02);
    EXPECT_EQ(p.prog->cat.Port().BytesWaiting(), 1);
    EXPECT_EQ(p.prog->cat.TakeStatusByte(), 0xFF);
    p.prog->meter.TurnOnLMeter();

    // The server goes away: one message, the panel dark.
    far.StopServer();
    for (int i = 0; i < 100 && p.dialogs.boxes.empty(); ++i)
        platform::Pause(loop, 0.05);
    platform::Pause(loop, 0.5);
    ASSERT_EQ(p.dialogs.boxes.size(), 1u) << p.Boxes();
    EXPECT_NE(p.dialogs.boxes[0].text.find("network port was lost"), std::string::npos) << p.Boxes();
    EXPECT_FALSE(s.CATOn);

    // Back: POWER connects again and puts the panel's frequency on the radio.
    ASSERT_TRUE(far.StartServer());
    power.CATbutton_Click();
    EXPECT_TRUE(s.CATOn) << p.Boxes();
    EXPECT_EQ(p.dialogs.boxes.size(), 1u) << p.Boxes();
    platform::Pause(loop, 0.5);
    p.prog->meter.TurnOffLMeter();
    fm = p.prog->cat.ReadFreqMode();
    ASSERT_TRUE(fm.has_value());
    EXPECT_EQ(fm->freq, 14500000);
    power.CATbutton_Click();

    const std::string log = far.Log();
    EXPECT_EQ(Count(log, "(dropped)"), 0u) << log;
    EXPECT_EQ(Count(log, "(wrong rate)"), route.rfc2217 ? 4u : 0u) << "two reads each at 4800 and 9600";
    EXPECT_GT(Count(log, " -> "), 40u);
}

INSTANTIATE_TEST_SUITE_P(Routes, OverTheNetwork,
                         ::testing::Values(Route{"Ser2netRaw", Server::Ser2net, false},
                                           Route{"Ser2netRfc2217", Server::Ser2net, true},
                                           Route{"SimTcpRfc2217Late50", Server::SimTcp, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The menu entry: the form's fields are checked one by one, the address is remembered in its own
// file (a damaged one reads as none), an address that cannot be opened says why, and the next
// start opens the network port as POWER's port.
TEST(NetworkPortEntry, AsksChecksRemembersAndSaysWhy)
{
    FarSide server(Route{"", Server::SimTcp, false});
    ASSERT_TRUE(server.Start());
    std::string err;
    platform::TcpListener silent; // takes connections (the system does) and never says a word
    ASSERT_TRUE(silent.Listen("127.0.0.1", 0, err)) << err;
    const int refused = kivo::testing::FreeTcpPort();

    platform::SystemEventLoop loop;
    NetProgram p(loop);
    const std::string file = p.dir / radio::kNetworkPortFileName;
    kivo::testing::WriteAll(file, "host radio-pi\nport many\n");
    p.Start();
    EXPECT_FALSE(p.prog->network.Address().has_value());
    p.dialogs.boxes.clear();

    struct Typed {
        std::string host, port;
        bool rfc2217;
        const char* says; // in the box that follows
    };
    const Typed rows[] = {
        {" ", "3001", true, "Please type the name or address"},
        {"radio pi", "3001", true, "is not a host name or address"},
        {"127.0.0.1", "70000", true, "must be a number from 1 to 65535"},
        {"127.0.0.1", std::to_string(refused), false, "refused the connection"},
        {"127.0.0.1", std::to_string(silent.Port()), true, "did not take up the COM-PORT-OPTION"},
    };
    p.prog->network.SetConnectTimeout(0.5);
    for (const auto& r : rows) {
        p.dialogs.boxes.clear();
        p.Choose(r.host, r.port, r.rfc2217);
        ASSERT_EQ(p.dialogs.boxes.size(), 1u) << r.host << ":" << r.port << "\n" << p.Boxes();
        EXPECT_NE(p.dialogs.boxes[0].text.find(r.says), std::string::npos) << p.Boxes();
        EXPECT_FALSE(p.prog->s.PortReady);
    }
    EXPECT_NE(p.dialogs.shownForms[0].text.find("could not be read"), std::string::npos);
    // The form opens on the address last typed that could be taken.
    EXPECT_EQ(p.dialogs.shownForms.back().fields[0].value, "127.0.0.1");
    EXPECT_EQ(p.dialogs.shownForms.back().fields[1].value, std::to_string(refused));
    EXPECT_EQ(p.dialogs.shownForms.back().fields[2].value, radio::kRawCaption);

    p.dialogs.boxes.clear();
    p.Choose("127.0.0.1", std::to_string(server.Port()), false);
    EXPECT_TRUE(p.prog->s.PortReady) << p.Boxes();
    EXPECT_EQ(kivo::testing::ReadAll(file),
              "host 127.0.0.1\nport " + std::to_string(server.Port()) + "\nkind raw\nchosen\n");
    EXPECT_EQ(p.prog->display.Get(platform::el::mnuCommPortArray(radio::kPortNetwork)).caption,
              "Network Port...\t127.0.0.1:" + std::to_string(server.Port()));
    EXPECT_TRUE(p.prog->display.Get(platform::el::mnuCommPortArray(radio::kPortNetwork)).checked);
    // Over raw TCP the rate is the server's: no search claims a rate it cannot set.
    p.prog->rateDetect.mnuDetectCatRate_Click();
    ASSERT_EQ(p.dialogs.boxes.size(), 1u);
    EXPECT_NE(p.dialogs.boxes[0].text.find("raw TCP"), std::string::npos) << p.Boxes();
    EXPECT_EQ(p.prog->s.Settings.CatRate, 1);
    ASSERT_TRUE(p.prog->panel.Power().EndKIVO());
    // The settings file, which other programs read too, holds no port number of this program's own.
    EXPECT_EQ(state::SettingsFromBytes(kivo::testing::ReadAll(p.dir / "ft817.kivo")).CommPort, state::kLastFilePort);

    // The next start: the network port is POWER's port.
    p.prog.reset();
    p.dialogs.boxes.clear();
    p.Start();
    EXPECT_EQ(p.Boxes(), "");
    p.prog->panel.Power().CATbutton_Click();
    EXPECT_TRUE(p.prog->s.CATOn);
    platform::Pause(loop, 0.3);
    p.prog->meter.TurnOffLMeter();
    const auto fm = p.prog->cat.ReadFreqMode();
    ASSERT_TRUE(fm.has_value());
    EXPECT_EQ(fm->freq, 14520000);
    // The numbered ports keep their meaning.
    p.prog->panel.Power().CATbutton_Click();
    p.prog->menus.Click(panel::MenuGroup::CommPort, 3);
    EXPECT_EQ(p.prog->s.Settings.CommPort, 3);
    EXPECT_NE(p.Boxes().find("Communications port  3 error"), std::string::npos) << p.Boxes();
}

// The Telnet framing: data with 0xFF doubled, negotiation and subnegotiation taken out, a
// sequence cut by a read's end finished by the next.
TEST(Telnet, SplitsDataFromNegotiationAcrossReads)
{
    namespace tn = platform::telnet;
    using C = std::vector<std::string>; // what arrives, read by read
    struct Row {
        C reads;
        std::string data;
        std::string commands; // "verb option [sub]" each, ';' between
    };
    const auto b = [](std::initializer_list<int> bytes) { return kivo::testing::F(bytes); };
    const Row rows[] = {
        {{b({0x14, 0xFF, 0xFF, 0x00})}, b({0x14, 0xFF, 0x00}), ""},
        {{b({0x01, 0xFF}), b({0xFF, 0x02})}, b({0x01, 0xFF, 0x02}), ""},
        {{b({0xFF, 0xFD, 0x2C, 0x05})}, b({0x05}), "253 44"},
        {{b({0xFF}), b({0xFB}), b({0x01, 0x07})}, b({0x07}), "251 1"},
        {{b({0xFF, 0xFA, 0x2C, 0x65, 0x00, 0x00}), b({0x96, 0x00, 0xFF, 0xF0, 0x08})},
         b({0x08}),
         "250 44 101 0 0 150 0"},
        {{b({0xFF, 0xFA, 0x2C, 0x6B, 0xFF, 0xFF, 0xFF, 0xF0})}, "", "250 44 107 255"},
        {{b({0xFF, 0xF1, 0x09})}, b({0x09}), ""}, // NOP
    };
    for (const auto& r : rows) {
        tn::Decoder d;
        std::string data;
        std::vector<tn::Command> commands;
        for (const auto& read : r.reads)
            d.Feed(read, data, commands);
        std::string said;
        for (const auto& c : commands) {
            said += (said.empty() ? "" : ";") + std::to_string(c.verb) + " " + std::to_string(c.option);
            for (char ch : c.sub)
                said += " " + std::to_string(std::uint8_t(ch));
        }
        EXPECT_EQ(data, r.data) << r.commands;
        EXPECT_EQ(said, r.commands);
    }
    EXPECT_EQ(tn::Escape(b({0x00, 0xFF, 0x01})), b({0x00, 0xFF, 0xFF, 0x01}));
    EXPECT_EQ(tn::ComPort32(tn::kSetBaudRate, 38400), b({0xFF, 0xFA, 0x2C, 0x01, 0x00, 0x00, 0x96, 0x00, 0xFF, 0xF0}));
    EXPECT_EQ(tn::ComPort8(tn::kSetStopSize, 2), b({0xFF, 0xFA, 0x2C, 0x04, 0x02, 0xFF, 0xF0}));
}

// The remembered address: what is saved reads back, anything else reads as none.
TEST(NetworkPortFile, ReadsBackWhatItWroteAndNothingElse)
{
    const platform::NetworkAddress a{"radio-pi.local", 3001, platform::NetworkKind::Rfc2217};
    EXPECT_EQ(platform::ParseNetworkAddress(platform::NetworkAddressText(a)), a);
    for (const char* bad : {"", "host radio-pi\nport 3001\n", "host radio-pi\nport 0\nkind raw\n",
                            "host radio-pi\nport 3001\nkind serial\n", "host a b\nport 1\nkind raw\n",
                            "host x\nport 1\nkind raw\nhost y\n", "\xFF\xFE binary"})
        EXPECT_FALSE(platform::ParseNetworkAddress(bad).has_value()) << bad;
}
