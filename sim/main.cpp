// ft817-sim: an FT-817 on a pseudo-terminal or a TCP port, for trying the program without a radio.

#include "platform/SystemEventLoop.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"
#include "sim/TcpLink.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

void Usage(std::FILE* to)
{
    std::fputs("Usage: ft817-sim [--link PATH] [--log] [--service-ms N] [--acks none] [--ideal]\n"
               "               [--rate 4800|9600|38400] [--late MS] [--tcp [ADDRESS:]PORT [--rfc2217]]\n"
               "Serves a simulated FT-817 CAT port on a pseudo-terminal (or over TCP).\n"
               "  --link PATH     also make PATH a symlink to the terminal\n"
               "  --tcp [ADDRESS:]PORT\n"
               "                  serve it on a TCP port instead, as a serial port server does\n"
               "                  (ADDRESS a numeric one, default 127.0.0.1; PORT 0: any free one)\n"
               "  --rfc2217       with --tcp: Telnet with the COM-PORT-OPTION, whose rate --rate\n"
               "                  checks (default: raw TCP, any rate)\n"
               "  --late MS       send every answer MS milliseconds late (a slow network link)\n"
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

// A number of milliseconds, 0..10000, as seconds; false (and said) when it is not one.
bool Milliseconds(const char* option, const char* text, double& seconds)
{
    char* end = nullptr;
    const long ms = std::strtol(text, &end, 10);
    if (*end != '\0' || ms < 0 || ms > 10000) {
        std::fprintf(stderr, "ft817-sim: %s wants a number of milliseconds, 0..10000\n", option);
        return false;
    }
    seconds = double(ms) / 1000.0;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    std::string link;
    bool log = false;
    kivo::sim::WireOptions options;
    int rate = 0;
    double late = 0;
    std::string tcpHost = "127.0.0.1";
    int tcpPort = -1;
    bool rfc2217 = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--link" && i + 1 < argc) {
            link = argv[++i];
        } else if (a == "--log") {
            log = true;
        } else if (a == "--service-ms" && i + 1 < argc) {
            if (!Milliseconds("--service-ms", argv[++i], options.serviceTime))
                return 2;
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
        } else if (a == "--late" && i + 1 < argc) {
            if (!Milliseconds("--late", argv[++i], late))
                return 2;
        } else if (a == "--tcp" && i + 1 < argc) {
            std::string v = argv[++i];
            if (const auto colon = v.rfind(':'); colon != std::string::npos) {
                tcpHost = v.substr(0, colon);
                v = v.substr(colon + 1);
            }
            char* end = nullptr;
            const long port = std::strtol(v.c_str(), &end, 10);
            if (v.empty() || *end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "ft817-sim: --tcp wants [ADDRESS:]PORT, PORT 0..65535\n");
                return 2;
            }
            tcpPort = int(port);
        } else if (a == "--rfc2217") {
            rfc2217 = true;
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

    if (rfc2217 && tcpPort < 0) {
        std::fprintf(stderr, "ft817-sim: --rfc2217 goes with --tcp\n");
        return 2;
    }
    if (!link.empty() && tcpPort >= 0) {
        std::fprintf(stderr, "ft817-sim: --link makes a link to the terminal; with --tcp there is none\n");
        return 2;
    }
    options.rate = rate;
    options.late = late;
    kivo::platform::SystemEventLoop loop;
    kivo::sim::Ft817 radio;
    std::unique_ptr<kivo::sim::PtyLink> pty;
    std::unique_ptr<kivo::sim::TcpLink> tcp;
    std::string error;
    std::string where;
    if (tcpPort >= 0) {
        tcp = std::make_unique<kivo::sim::TcpLink>(loop, radio, options, rfc2217);
        if (tcp->Start(tcpHost, tcpPort, error))
            where = tcpHost + ":" + std::to_string(tcp->Port()) + (rfc2217 ? " (RFC 2217)" : " (raw TCP)");
    } else {
        pty = std::make_unique<kivo::sim::PtyLink>(loop, radio, options);
        if (pty->Start(error) && (link.empty() || pty->MakeLink(link, error)))
            where = pty->Path();
    }
    if (where.empty()) {
        std::fprintf(stderr, "ft817-sim: %s\n", error.c_str());
        return 1;
    }
    kivo::sim::Wire& wire = tcp ? tcp->GetWire() : pty->GetWire();
    const double start = loop.Now();
    if (log) {
        wire.onFrame = [&](const kivo::sim::ReceivedFrame& f) {
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
    std::printf("ft817-sim: serving on %s\n", where.c_str());
    std::fflush(stdout);
    while (!g_stop)
        loop.ProcessEventsUntil(loop.Now() + 0.5);
    return 0;
}
