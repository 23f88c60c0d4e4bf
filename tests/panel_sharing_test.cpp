// Sharing the radio: network clients drive the panel's own units on the in-process simulator.

#include "panel/RadioSharing.h"
#include "radio/CatCodec.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PanelRig.h"

#include <map>
#include <sstream>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace kivo;
using namespace kivo::testing;

namespace {

TEST(ShareAddress, ParsesWhatTheOptionAndTheFileHold)
{
    struct Row {
        const char* text;
        bool ok;
        const char* host;
        int port;
    };
    const Row rows[] = {
        {"", true, "127.0.0.1", 4532},
        {"0.0.0.0:7000", true, "0.0.0.0", 7000},
        {"192.168.1.5", true, "192.168.1.5", 4532},
        {":4533", true, "127.0.0.1", 4533},
        {"[::1]:4534", true, "::1", 4534},
        {"[::1]", true, "::1", 4532},
        {"host:port", false, "", 0},
        {"127.0.0.1:0", false, "", 0},
        {"127.0.0.1:70000", false, "", 0},
        {"[::1", false, "", 0},
    };
    for (const Row& r : rows) {
        const auto c = panel::ParseShareAddress(r.text);
        ASSERT_EQ(c.has_value(), r.ok) << r.text;
        if (!c)
            continue;
        EXPECT_EQ(c->host, r.host) << r.text;
        EXPECT_EQ(c->port, r.port) << r.text;
        EXPECT_EQ(panel::ParseShareFile(panel::ShareFileText(*c)).host, c->host) << r.text;
    }
    EXPECT_FALSE(panel::ParseShareFile("off 127.0.0.1:4532\n").on);
    EXPECT_TRUE(panel::ParseShareFile("on 127.0.0.1:4532\n").on);
    EXPECT_FALSE(panel::ParseShareFile("garbage").on);
}

class Sharing : public PanelRig {
protected:
    panel::RadioSharing sharing{
        {s, display, dialogs, loop, window, cat, comm, meter, files, memory}, panel, fs, dir.path()};
    int fd = -1;

    void SetUp() override
    {
        sharing.Rig().moxKey = [this] { panel.Transmit().PressMox(); };
        WriteUsualFiles();
        panel.Power().Load();
        sharing.Load(panel::ShareChoice{true, "127.0.0.1", 0});
        ASSERT_TRUE(sharing.Server().Running());
        fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(sharing.Server().Port()));
        ::inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
        loop.Advance(0.01);
    }
    void TearDown() override
    {
        if (fd >= 0)
            ::close(fd);
    }
    std::string Ask(const std::string& line)
    {
        const std::string text = line + "\n";
        (void)!::send(fd, text.data(), text.size(), MSG_NOSIGNAL);
        std::string got;
        for (int i = 0; i < 200 && (got.empty() || got.back() != '\n'); ++i) {
            ::usleep(1000);
            loop.Advance(0.01); // the server reads, the panel's pauses pass
            char buf[4096];
            const ssize_t n = ::recv(fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0)
                got.append(buf, std::size_t(n));
        }
        return got;
    }
};

TEST_F(Sharing, ClientsActThroughThePanelAndReadItsModel)
{
    EXPECT_EQ(display.Get(el::lblShareStatus).caption,
              "Sharing the radio on 127.0.0.1:" + std::to_string(sharing.Server().Port()) + ", 1 program connected");
    EXPECT_TRUE(display.Get(el::mnuSettingsArray(panel::kShareRadioEntry)).checked);

    // Dark: reads answer from the model, sets are refused.
    EXPECT_EQ(Ask("f"), "145200000\n");
    EXPECT_EQ(Ask("F 14074000"), "RPRT -11\n");

    panel.Power().PressPower();
    loop.Advance(1.0);
    TakeFrames();
    // A set's frame goes out as the panel's own would: at once on a free line, never later than
    // the frame gap behind the frame before it.
    double asked = 0, framed = 0;
    port.GetWire().onFrame = [&](const sim::ReceivedFrame& f) {
        if (framed == 0 && f.bytes[4] == 0x01)
            framed = f.at;
    };
    asked = loop.Now();
    EXPECT_EQ(Ask("F 14074000"), "RPRT 0\n");
    EXPECT_GT(framed, 0);
    EXPECT_LE(framed - asked, 0.01 + cat.FrameGap());
    EXPECT_EQ(s.VFOMB.Freq, 1407400);
    EXPECT_EQ(s.BandIdxMB, 7) << "the 14 MHz band, as a typed frequency takes it";
    EXPECT_EQ(display.Get(el::ledFreq).caption, "14.074.00");
    EXPECT_EQ(radio.A().freq, 1407400u);
    EXPECT_EQ(Ask("M USB 0"), "RPRT 0\n");
    EXPECT_EQ(radio.A().mode, 0x01);
    EXPECT_EQ(Ask("m"), "USB\n2200\n");
    EXPECT_EQ(Ask("F 88000000"), "RPRT -1\n") << "no band covers it";
    EXPECT_EQ(s.VFOMB.Freq, 1407400);
    EXPECT_TRUE(dialogs.boxes.empty()) << "a client's refusal is no message box";

    // Split from SUB: the panel leaves SUB first, as the operator would.
    panel.VfoOperations().PressSub();
    EXPECT_EQ(Ask("v"), "VFOB\n");
    EXPECT_EQ(Ask("S 1 VFOB"), "RPRT 0\n");
    EXPECT_FALSE(s.SubSelected);
    EXPECT_FALSE(radio.OnB());
    EXPECT_TRUE(s.SplitOn);
    EXPECT_TRUE(radio.Split());
    EXPECT_EQ(Ask("s"), "1\nVFOB\n");
    EXPECT_EQ(Ask("I 14076000"), "RPRT 0\n");
    EXPECT_EQ(s.VFOSB.Freq, 1407600);
    EXPECT_EQ(radio.B().freq, 1407600u);
    EXPECT_EQ(Ask("T 1"), "RPRT 0\n");
    EXPECT_TRUE(s.Transmitting);
    EXPECT_TRUE(radio.Transmitting());
    EXPECT_EQ(Ask("t"), "1\n");
    const std::string sharingOn = "Sharing the radio on 127.0.0.1:" + std::to_string(sharing.Server().Port());
    EXPECT_EQ(display.Get(el::lblShareStatus).caption.substr(0, sharingOn.size() + 44),
              sharingOn + ", 1 program connected, on air for 127.0.0.1:");
    EXPECT_EQ(Ask("F 14075000"), "RPRT -11\n") << "not while on air";
    // MOX takes the transmitter over: released there, the client no longer holds it.
    panel.Transmit().PressMox();
    EXPECT_EQ(display.Get(el::lblShareStatus).caption, sharingOn + ", 1 program connected");
    EXPECT_EQ(Ask("T 1"), "RPRT 0\n");
    // The client goes while keyed: the panel unkeys the radio.
    ::close(fd);
    fd = -1;
    loop.Advance(0.5);
    EXPECT_FALSE(s.Transmitting);
    EXPECT_FALSE(radio.Transmitting());
    EXPECT_EQ(display.Get(el::lblShareStatus).caption,
              "Sharing the radio on 127.0.0.1:" + std::to_string(sharing.Server().Port()) + ", 0 programs connected");
}

TEST_F(Sharing, APortInUseIsSaidAndThePanelWorksOn)
{
    panel::RadioSharing second{
        {s, display, dialogs, loop, window, cat, comm, meter, files, memory}, panel, fs, dir.path()};
    second.Load(panel::ShareChoice{true, "127.0.0.1", sharing.Server().Port()});
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].title, "Share Radio on Network");
    EXPECT_EQ(dialogs.boxes[0].text,
              "The radio cannot be shared on 127.0.0.1:" + std::to_string(sharing.Server().Port()) +
                  ": Address already in use. Another program may already serve that port; "
                  "the panel works on as before.");
    EXPECT_FALSE(second.Server().Running());
    EXPECT_EQ(ReadAll(dir / "share-radio.txt"), "on 127.0.0.1:" + std::to_string(sharing.Server().Port()) + "\n");
}

} // namespace

// Hamlib's own network client, as a digital-mode program with its split set to "Rig" drives it:
// every call succeeds, and after each the simulated radio holds what the panel says it holds.
TEST_F(Sharing, AHamlibClientsDigitalModeSessionKeepsPanelAndRadioTogether)
{
    if (::system("/usr/bin/python3 -c 'import Hamlib' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-hamlib is not installed";
    panel.Power().PressPower();
    loop.Advance(1.0);
    ChildProcess client;
    ASSERT_TRUE(client.Start({"/usr/bin/python3", KIVO_HAMLIB_SCRIPTS "/digital_session.py",
                              "127.0.0.1:" + std::to_string(sharing.Server().Port()), "--step"}));

    const auto code = [](state::Integer mode) { return std::uint8_t(radio::ModeFrame(mode)[0]); };
    // What the radio must hold after each call, beyond agreeing with the panel.
    const std::map<std::string, std::function<void()>> after = {
        {"set_freq", [&] { EXPECT_EQ(radio.A().freq, 1407400u); }},
        {"set_mode", [&] { EXPECT_EQ(radio.A().mode, 0x01); }},
        {"set_split_vfo_on", [&] { EXPECT_TRUE(radio.Split()); }},
        {"set_split_freq", [&] { EXPECT_EQ(radio.B().freq, 1407550u); }},
        {"set_split_mode", [&] { EXPECT_EQ(radio.B().mode, 0x01); }},
        {"ptt_on", [&] { EXPECT_TRUE(radio.Transmitting()); }},
        {"ptt_off", [&] { EXPECT_FALSE(radio.Transmitting()); }},
        {"set_split_vfo_off", [&] { EXPECT_FALSE(radio.Split()); }},
        {"set_vfo_a", [&] { EXPECT_FALSE(radio.OnB()); }},
    };
    std::vector<std::string> calls;
    int toggles = 0;
    for (int i = 0; i < 60000 && !client.Ended(); ++i) {
        ::usleep(200);
        loop.Advance(0.01);
        const auto line = client.Line();
        if (!line)
            continue;
        SCOPED_TRACE(*line);
        std::istringstream words(*line);
        std::string name, status, value;
        words >> name >> status >> value;
        calls.push_back(name);
        EXPECT_EQ(status, "0");
        if (const auto check = after.find(name); check != after.end())
            check->second();
        if (name == "toggle") {
            EXPECT_EQ(radio.OnB(), ++toggles % 2 == 1);
        } else if (name.rfind("get_vfo", 0) == 0) {
            EXPECT_EQ(value, radio.OnB() ? "2" : "1"); // the binding's numbers for VFOA and VFOB
        }
        // The panel and the radio agree on both VFOs, split, PTT and the VFO in use.
        EXPECT_EQ(radio.A().freq, std::uint32_t(s.VFOMB.Freq));
        EXPECT_EQ(radio.B().freq, std::uint32_t(s.VFOSB.Freq));
        EXPECT_EQ(radio.A().mode, code(s.VFOMB.Mode));
        EXPECT_EQ(radio.B().mode, code(s.VFOSB.Mode));
        EXPECT_EQ(radio.Split(), s.SplitOn);
        EXPECT_EQ(radio.Transmitting(), s.Transmitting);
        EXPECT_EQ(radio.OnB(), s.SubSelected);
        client.Write("\n");
    }
    EXPECT_EQ(client.Ended(), 0);
    EXPECT_EQ(calls.size(), 23u) << "every call of the session ran";
    EXPECT_EQ(port.GetWire().DroppedCount(), 0u);
}
