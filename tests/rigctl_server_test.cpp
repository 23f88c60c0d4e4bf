// The rig-control server over real loopback sockets, on the program's kind of event loop.

#include "net/RigServer.h"
#include "platform/SystemEventLoop.h"
#include "tests/support/FakeRig.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

using namespace kivo;
using net::rprt::kOk;

namespace {

// A panel that answers at once, or waits like one talking to the radio.
class FakeRig final : public kivo::testing::FakeRig {
public:
    explicit FakeRig(platform::EventLoop& loop) : m_loop(loop) {}
    int SetFrequency(net::Vfo v, std::int64_t hz) override
    {
        log.push_back("F " + std::to_string(hz) + " begins");
        platform::Pause(m_loop, setWait);
        At(v).freq = hz;
        log.push_back("F " + std::to_string(hz) + " ends");
        return kOk;
    }
    int SetPtt(bool on) override
    {
        ptt = on;
        log.push_back(on ? "PTT on" : "PTT off");
        return kOk;
    }

    double setWait = 0;
    std::vector<std::string> log;

private:
    platform::EventLoop& m_loop;
};

class Client {
public:
    explicit Client(int port) : m_fd(::socket(AF_INET, SOCK_STREAM, 0))
    {
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(port));
        ::inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
        connected = ::connect(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    }
    ~Client() { Close(); }
    void Close()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = -1;
    }
    void Send(const std::string& text) { (void)!::send(m_fd, text.data(), text.size(), MSG_NOSIGNAL); }
    // What has arrived, after letting the server's loop run until `until` is in it or 2 s pass.
    std::string Receive(platform::SystemEventLoop& loop, const std::string& until)
    {
        const double end = loop.Now() + 2;
        while (m_got.find(until) == std::string::npos && loop.Now() < end) {
            loop.ProcessEventsUntil(loop.Now() + 0.01);
            char buf[8192];
            const ssize_t n = ::recv(m_fd, buf, sizeof buf, MSG_DONTWAIT);
            if (n > 0)
                m_got.append(buf, std::size_t(n));
            else if (n == 0)
                break;
        }
        std::string all;
        all.swap(m_got);
        return all;
    }
    std::string Ask(platform::SystemEventLoop& loop, const std::string& line, const std::string& until = "\n")
    {
        Send(line + "\n");
        return Receive(loop, until);
    }
    bool connected = false;

private:
    int m_fd;
    std::string m_got;
};

struct Server : ::testing::Test {
    platform::SystemEventLoop loop;
    FakeRig rig{loop};
    net::RigServer server{loop, rig};
    int changes = 0;
    void SetUp() override
    {
        std::string err;
        ASSERT_TRUE(server.Start("127.0.0.1", 0, err)) << err;
        server.onClientsChanged = [this] { ++changes; };
    }
    void Settle(double s = 0.05) { platform::Pause(loop, s); }
};

TEST_F(Server, AnswersTheConnectSequenceAndKeepsALongLineFromBreakingTheConnection)
{
    Client c(server.Port());
    ASSERT_TRUE(c.connected);
    EXPECT_EQ(c.Ask(loop, "\\chk_vfo"), "0\n");
    EXPECT_NE(c.Ask(loop, "\\dump_state", "done\n").find("done\n"), std::string::npos);
    EXPECT_EQ(c.Ask(loop, "f"), "14074000\n");
    EXPECT_EQ(c.Ask(loop, "F 7074000.000000"), "RPRT 0\n");
    EXPECT_EQ(rig.At(net::Vfo::A).freq, 7074000);
    EXPECT_EQ(server.Clients(), 1u);

    c.Send(std::string(3000, 'F'));
    Settle();
    EXPECT_EQ(c.Ask(loop, "", "\n"), "RPRT -9\n") << "one error for the whole long line";
    EXPECT_EQ(c.Ask(loop, "f"), "7074000\n") << "and the connection still serves";
}

TEST_F(Server, NoClientsCommandRunsInsideAnothersWait)
{
    rig.setWait = 0.2; // the panel waits out its frame gap and toggles
    Client a(server.Port()), b(server.Port());
    a.Send("F 7074000\n");
    b.Send("F 14074000\n");
    a.Receive(loop, "RPRT");
    b.Receive(loop, "RPRT");
    EXPECT_EQ(rig.log,
              (std::vector<std::string>{"F 7074000 begins", "F 7074000 ends", "F 14074000 begins", "F 14074000 ends"}));
}

TEST_F(Server, AClientThatDropsWhileKeyedUnkeysTheRadioOneThatQuitsLeavesIt)
{
    {
        Client c(server.Port());
        EXPECT_EQ(c.Ask(loop, "T 1"), "RPRT 0\n");
        EXPECT_TRUE(rig.ptt);
        EXPECT_EQ(server.Keyer().substr(0, 10), "127.0.0.1:");
    }
    Settle();
    EXPECT_FALSE(rig.ptt) << "the connection dropped without q";
    EXPECT_EQ(server.Keyer(), "");
    EXPECT_EQ(server.Clients(), 0u);
    EXPECT_EQ(changes, 3) << "connect, key, go";

    // A one-shot client keys and says goodbye: the radio stays keyed for the next one to read.
    {
        Client c(server.Port());
        EXPECT_EQ(c.Ask(loop, "T 1\nq", "RPRT 0\nRPRT 0\n"), "RPRT 0\nRPRT 0\n");
        Settle();
        EXPECT_EQ(c.Ask(loop, "f"), "") << "closed after its goodbye";
    }
    Settle();
    EXPECT_TRUE(rig.ptt);
    const std::string keyer = server.Keyer();
    EXPECT_NE(keyer, "");
    Client next(server.Port());
    EXPECT_EQ(next.Ask(loop, "t"), "1\n");
    // Keying what is keyed already takes nothing over: this client's drop leaves it alone.
    {
        Client again(server.Port());
        EXPECT_EQ(again.Ask(loop, "T 1"), "RPRT 0\n");
    }
    Settle();
    EXPECT_TRUE(rig.ptt);
    EXPECT_EQ(server.Keyer(), keyer);
    EXPECT_EQ(next.Ask(loop, "T 0"), "RPRT 0\n");
    EXPECT_EQ(server.Keyer(), "");
    // A client that unkeyed itself is not unkeyed again when it goes.
    next.Close();
    Settle();
    EXPECT_EQ(std::count(rig.log.begin(), rig.log.end(), "PTT off"), 2);
}

TEST_F(Server, LimitsClientsFloodsAndUnreadAnswers)
{
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 9; ++i)
        clients.push_back(std::make_unique<Client>(server.Port()));
    Settle();
    EXPECT_EQ(server.Clients(), 8u);
    EXPECT_EQ(clients[8]->Ask(loop, "f"), "") << "the ninth is closed";
    clients.clear();
    Settle();

    // A client that sends and never reads is closed once its unread answers pass the limit;
    // the others are served meanwhile.
    Client flood(server.Port()), polite(server.Port());
    std::string lines;
    for (int i = 0; i < 20000; ++i)
        lines += "\\dump_state\n";
    flood.Send(lines.substr(0, 200000));
    Settle(0.5);
    EXPECT_EQ(polite.Ask(loop, "f"), "14074000\n");
    Settle(0.5);
    EXPECT_EQ(server.Clients(), 1u);
}

TEST_F(Server, APortInUseIsSaid)
{
    net::RigServer second(loop, rig);
    std::string err;
    EXPECT_FALSE(second.Start("127.0.0.1", server.Port(), err));
    EXPECT_EQ(err, "Address already in use");
    EXPECT_FALSE(second.Start("localhost", 4532, err));
    EXPECT_EQ(err, "\"localhost\" is not a numeric address");
}

} // namespace
