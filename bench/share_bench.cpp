// Network rig-control round trips over loopback: `f` answered by the server on the program's
// kind of event loop, with one client and with eight asking at once.

#include "net/RigServer.h"
#include "platform/SystemEventLoop.h"
#include "tests/support/FakeRig.h"

#include <benchmark/benchmark.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <string>
#include <vector>

using namespace kivo;

namespace {

// The panel's model answers reads at once; that is what `f` costs.
using ModelRig = testing::FakeRig;

int Connect(int port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(std::uint16_t(port));
    ::inet_pton(AF_INET, "127.0.0.1", &a.sin_addr);
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    const int yes = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
    return fd;
}

void BM_GetFrequencyRoundTrip(benchmark::State& state)
{
    platform::SystemEventLoop loop;
    ModelRig rig;
    net::RigServer server(loop, rig);
    std::string err;
    server.Start("127.0.0.1", 0, err);
    std::vector<int> clients;
    for (int i = 0; i < state.range(0); ++i)
        clients.push_back(Connect(server.Port()));
    loop.ProcessEventsUntil(loop.Now() + 0.05);
    for (auto _ : state) {
        for (int fd : clients)
            (void)!::send(fd, "f\n", 2, 0);
        std::size_t answered = 0;
        std::vector<std::string> got(clients.size());
        while (answered < clients.size()) {
            loop.ProcessEventsUntil(loop.Now() + 0.001);
            for (std::size_t i = 0; i < clients.size(); ++i) {
                char buf[64];
                const ssize_t n = ::recv(clients[i], buf, sizeof buf, MSG_DONTWAIT);
                if (n > 0) {
                    got[i].append(buf, std::size_t(n));
                    if (got[i].back() == '\n')
                        ++answered;
                }
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
    for (int fd : clients)
        ::close(fd);
}
BENCHMARK(BM_GetFrequencyRoundTrip)->Arg(1)->Arg(8)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
