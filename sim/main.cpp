// ft817-sim: an FT-817 on a pseudo-terminal, for trying the program without a radio.

#include "platform/SystemEventLoop.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

void Usage(std::FILE* to)
{
    std::fputs("Usage: ft817-sim [--link PATH] [--log] [--service-ms N] [--acks none] [--ideal]\n"
               "               [--rate 4800|9600|38400]\n"
               "Serves a simulated FT-817 CAT port on a pseudo-terminal.\n"
               "  --link PATH     also make PATH a symlink to the terminal\n"
               "  --log           print each frame received, in hex with its meaning and the answer\n"
               "  --service-ms N  time the radio works on a command before it answers (default 60);\n"
               "                  a command that starts arriving meanwhile is lost\n"
               "  --acks none     answer reads only, not set commands (default: one byte 00 to each,\n"
               "                  F0 to PTT or split when already in that state)\n"
               "  --ideal         no service time and no acknowledgements (for tests)\n"
               "  --rate N        the radio's CAT rate: it answers only while the terminal is set to N\n"
               "                  bit/s and sends garbage otherwise (default: any rate)\n"
               "  --help          show this text\n",
               to);
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool log = false;
    kivo::sim::WireOptions options;
    int rate = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--link" && i + 1 < argc) {
            link = argv[++i];
        } else if (a == "--log") {
            log = true;
        } else if (a == "--service-ms" && i + 1 < argc) {
            char* end = nullptr;
            const long ms = std::strtol(argv[++i], &end, 10);
            if (*end != '\0' || ms < 0 || ms > 10000) {
                std::fprintf(stderr, "ft817-sim: --service-ms wants a number of milliseconds, 0..10000\n");
                return 2;
            }
            options.serviceTime = double(ms) / 1000.0;
        } else if (a == "--acks" && i + 1 < argc) {
            const std::string v = argv[++i];
            if (v != "none" && v != "on") {
                std::fprintf(stderr, "ft817-sim: --acks takes none or on\n");
                return 2;
            }
            options.acks = v == "on";
        } else if (a == "--rate" && i + 1 < argc) {
            const std::string v = argv[++i];
            if (v != "4800" && v != "9600" && v != "38400") {
                std::fprintf(stderr, "ft817-sim: --rate takes 4800, 9600 or 38400\n");
                return 2;
            }
            rate = std::atoi(v.c_str());
        } else if (a == "--ideal") {
            options = kivo::sim::WireOptions::Ideal();
        } else if (a == "--help" || a == "-h") {
            Usage(stdout);
            return 0;
        } else {
            std::fprintf(stderr, "ft817-sim: unknown option %s\n", a.c_str());
            Usage(stderr);
            return 2;
        }
    }

    options.rate = rate;
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
            std::printf("%9.3f  %s  %s\n", f.at - start, kivo::sim::DescribeFrame(f.bytes).c_str(),
                        f.wrongRate  ? "(wrong rate) garbage sent"
                        : f.accepted ? kivo::sim::DescribeAnswer(f.answer).c_str()
                                     : "(dropped)");
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
