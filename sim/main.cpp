// ft817-sim: an FT-817 on a pseudo-terminal, for trying the program without a radio.

#include "platform/SystemEventLoop.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"

#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

void Usage(std::FILE* to)
{
    std::fputs("Usage: ft817-sim [--link PATH] [--log] [--ideal]\n"
               "Serves a simulated FT-817 CAT port on a pseudo-terminal.\n"
               "  --link PATH  also make PATH a symlink to the terminal\n"
               "  --log        print each frame received, in hex with its meaning\n"
               "  --ideal      no service time and no acknowledgements (for tests)\n"
               "  --help       show this text\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool log = false;
    kivo::sim::WireOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--link" && i + 1 < argc) {
            link = argv[++i];
        } else if (a == "--log") {
            log = true;
        } else if (a == "--ideal") {
            options.realistic = false;
        } else if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "ft817-sim: unknown option %s\n", a.c_str());
            Usage(stderr);
            return 2;
        }
    }

    kivo::platform::SystemEventLoop loop;
    kivo::sim::Ft817 radio;
    kivo::sim::PtyLink pty(loop, radio, options);
    std::string error;
    if (!pty.Start(error) || (!link.empty() && !pty.MakeLink(link, error))) {
        std::fprintf(stderr, "ft817-sim: %s\n", error.c_str());
        return 1;
    }
    const double start = loop.Now();
    if (log) {
        pty.GetWire().onFrame = [&](const kivo::sim::ReceivedFrame& f) {
            std::printf("%9.3f  %s%s\n", f.at - start, kivo::sim::DescribeFrame(f.bytes).c_str(),
                        f.accepted ? "" : "  (dropped)");
            std::fflush(stdout);
        };
    }
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("ft817-sim: serving on %s\n", pty.Path().c_str());
    std::fflush(stdout);
    while (!g_stop)
        loop.ProcessEventsUntil(loop.Now() + 0.5);
    return 0;
}
