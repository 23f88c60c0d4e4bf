// The radio over the network: the whole program (no window) on its network port, RFC 2217, to the
// simulator's TCP server with the radio's own timing (60 ms to answer, acknowledgements), through
// a relay that holds every chunk back by a set delay in each direction, as a slow link would.
// Prints, for no added delay and 20 and 50 ms each way: the S-meter readings a second with the
// meter at 100 ms, and how long a main-knob detent takes to reach the radio's side of the wire.
//
//     build/bench/bench_network [seconds per measure, default 10]

#include "panel/Program.h"
#include "platform/ScriptedDialogs.h"
#include "platform/SystemEventLoop.h"
#include "platform/Tcp.h"
#include "sim/TcpLink.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <vector>

using namespace kivo;

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

// The simulated radio behind its TCP server, on a thread of its own; the time each frame's last
// byte reached it is kept.
class RadioThread {
public:
    RadioThread()
    {
        m_thread = std::thread([this] {
            platform::SystemEventLoop loop;
            sim::Ft817 radio;
            sim::TcpLink link(loop, radio, sim::WireOptions{}, true);
            std::string err;
            if (!link.Start("127.0.0.1", 0, err)) {
                std::fprintf(stderr, "bench_network: %s\n", err.c_str());
                std::exit(1);
            }
            link.GetWire().onFrame = [this](const sim::ReceivedFrame& f) {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_frames.push_back(f);
            };
            m_port = link.Port();
            while (!m_stop)
                loop.ProcessEventsUntil(loop.Now() + 0.02);
        });
        while (m_port == 0)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ~RadioThread()
    {
        m_stop = true;
        m_thread.join();
    }
    int Port() const { return m_port; }
    std::vector<sim::ReceivedFrame> Frames()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_frames;
    }

private:
    std::thread m_thread;
    std::atomic<int> m_port{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<sim::ReceivedFrame> m_frames;
};

// Forwards one connection at a time to the radio's port, every chunk `delay` seconds late in each
// direction (what netem's delay on the loopback would do, without the privileges it needs).
class DelayRelay {
public:
    DelayRelay(int target, double delay) : m_target(target), m_delay(delay)
    {
        std::string err;
        if (!m_listener.Listen("127.0.0.1", 0, err)) {
            std::fprintf(stderr, "bench_network: %s\n", err.c_str());
            std::exit(1);
        }
        m_thread = std::thread([this] { Run(); });
    }
    ~DelayRelay()
    {
        m_stop = true;
        m_thread.join();
    }
    int Port() const { return m_listener.Port(); }

private:
    struct Chunk {
        double due;
        std::string bytes;
    };
    static int ConnectTo(int port)
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(std::uint16_t(port));
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) {
            ::close(fd);
            return -1;
        }
        const int yes = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
        return fd;
    }
    void Run()
    {
        std::unique_ptr<platform::TcpConnection> client;
        int server = -1;
        std::deque<Chunk> up, down; // to the radio, to the program
        while (!m_stop) {
            if (auto c = m_listener.Accept()) {
                client = std::move(c);
                if (server >= 0)
                    ::close(server);
                server = ConnectTo(m_target);
                up.clear();
                down.clear();
            }
            const double now = Now();
            auto flush = [now](std::deque<Chunk>& q, int fd) {
                while (!q.empty() && q.front().due <= now) {
                    ::send(fd, q.front().bytes.data(), q.front().bytes.size(), MSG_NOSIGNAL);
                    q.pop_front();
                }
            };
            if (client && server >= 0) {
                flush(up, server);
                flush(down, client->Fd());
            }
            double next = now + 0.005;
            for (auto* q : {&up, &down})
                if (!q->empty())
                    next = std::min(next, q->front().due);
            std::vector<pollfd> fds{{m_listener.Fd(), POLLIN, 0}};
            if (client && server >= 0) {
                fds.push_back({client->Fd(), POLLIN, 0});
                fds.push_back({server, POLLIN, 0});
            }
            ::poll(fds.data(), fds.size(), std::max(0, int((next - now) * 1000)));
            if (fds.size() < 3)
                continue;
            char buf[4096];
            if (fds[1].revents & (POLLIN | POLLHUP)) {
                const ssize_t n = ::recv(client->Fd(), buf, sizeof buf, MSG_DONTWAIT);
                if (n > 0)
                    up.push_back({Now() + m_delay, std::string(buf, std::size_t(n))});
                else if (n == 0)
                    client.reset();
            }
            if (client && (fds[2].revents & (POLLIN | POLLHUP))) {
                const ssize_t n = ::recv(server, buf, sizeof buf, MSG_DONTWAIT);
                if (n > 0)
                    down.push_back({Now() + m_delay, std::string(buf, std::size_t(n))});
            }
        }
        if (server >= 0)
            ::close(server);
    }

    int m_target;
    double m_delay;
    platform::TcpListener m_listener;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
};

class NullWindow final : public platform::Window {
public:
    long LeftTwips() const override { return 0; }
    long TopTwips() const override { return 0; }
    bool OnScreen(long, long) const override { return true; }
    void MoveTo(long, long) override {}
    void Centre() override {}
    void SetBusyCursor(bool) override {}
    void ShowSplash(const std::string&) override {}
    void HideSplash() override {}
    void ShowMain() override {}
    void SetTitle(const std::string&) override {}
};

struct Figures {
    double readingsPerSecond = 0;
    double knobMedianOff = 0, knobMedianOn = 0, knobMaxOn = 0;
    std::size_t dropped = 0;
};

double Median(std::vector<double> v)
{
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

Figures Measure(double delay, double seconds)
{
    RadioThread radio;
    DelayRelay relay(radio.Port(), delay);
    const std::string dir = (std::filesystem::temp_directory_path() / "kivo-bench-net-XXXXXX").string();
    std::string tmpl = dir;
    if (!::mkdtemp(tmpl.data()))
        std::exit(1);
    Figures out;
    {
        platform::SystemEventLoop loop;
        platform::ScriptedDialogs dialogs;
        NullWindow window;
        panel::Program prog(loop, dialogs, window, tmpl);
        prog.port.SetDeviceLister([] { return std::vector<std::string>{}; });
        prog.RefreshPorts();
        prog.panel.Power().Load();
        dialogs.forms.push_back(
            std::vector<std::string>{"127.0.0.1", std::to_string(relay.Port()), radio::kRfc2217Caption});
        prog.menus.Click(panel::MenuGroup::CommPort, radio::kPortNetwork);
        if (!prog.s.PortReady) {
            std::fprintf(stderr, "bench_network: the network port did not open\n");
            std::exit(1);
        }
        prog.panel.Power().mnuMeterSpeed_Click(5); // 100 ms
        prog.panel.Power().CATbutton_Click();
        platform::Pause(loop, 1.0);

        int readings = 0;
        prog.meter.onReading = [&readings](int) { ++readings; };
        const double from = loop.Now();
        platform::Pause(loop, seconds);
        out.readingsPerSecond = readings / (loop.Now() - from);
        prog.meter.onReading = nullptr;

        // One detent every half second or so; the time from the turn to the frame's last byte at the
        // radio.
        auto knob = [&](std::vector<double>& delays) {
            const int turns = std::max(4, int(seconds * 2));
            for (int i = 0; i < turns; ++i) {
                const std::size_t seen = radio.Frames().size();
                const double turned = Now();
                // One notch as the wheel or a key turns it: grab, detent, release.
                auto& tuning = prog.panel.Tuning();
                tuning.SetupTuningKnob(panel::kMainKnob, panel::kGrab);
                tuning.KnobDetent(panel::kMainKnob, i % 2 == 0 ? 1 : -1);
                tuning.SetupTuningKnob(panel::kMainKnob, panel::kRelease);
                double at = 0;
                while (at == 0 && Now() - turned < 1.0) {
                    platform::Pause(loop, 0.001);
                    const auto frames = radio.Frames();
                    for (std::size_t k = seen; k < frames.size() && at == 0; ++k)
                        if (std::uint8_t(frames[k].bytes[4]) == radio::op::kSetFreq && frames[k].at >= turned)
                            at = frames[k].at;
                }
                if (at > 0)
                    delays.push_back(at - turned);
                // Half a second and a bit apart, never in step with the meter's polls.
                platform::Pause(loop, std::max(0.0, turned + 0.5 + 0.037 * (i % 6) - Now()));
            }
        };
        std::vector<double> on, off;
        knob(on);
        prog.panel.Power().mnuMeterSpeed_Click(6); // OFF
        platform::Pause(loop, 0.5);
        knob(off);
        out.knobMedianOn = Median(on);
        out.knobMaxOn = on.empty() ? 0 : *std::max_element(on.begin(), on.end());
        out.knobMedianOff = Median(off);
        prog.panel.Power().CATbutton_Click();
    }
    for (const auto& f : radio.Frames())
        out.dropped += f.accepted ? 0 : 1;
    std::error_code ec;
    std::filesystem::remove_all(tmpl, ec);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    const double seconds = argc > 1 ? std::max(2.0, std::atof(argv[1])) : 10.0;
    std::printf("| added delay, each way | S-meter readings/s (meter 100 ms) | knob to wire, meter off (median) | "
                "knob to wire, meter on (median / max) | frames dropped |\n|---|---|---|---|---|\n");
    for (double delay : {0.0, 0.020, 0.050}) {
        const Figures f = Measure(delay, seconds);
        std::printf("| %.0f ms | %.2f | %.1f ms | %.1f / %.1f ms | %zu |\n", delay * 1000, f.readingsPerSecond,
                    f.knobMedianOff * 1000, f.knobMedianOn * 1000, f.knobMaxOn * 1000, f.dropped);
        std::fflush(stdout);
    }
    return 0;
}
