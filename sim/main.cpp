// ft817-sim: an FT-817 on a pseudo-terminal or a TCP port, for trying the program without a radio.

#include "platform/SystemEventLoop.h"
#include "sim/Ft817.h"
#include "sim/PtyLink.h"
#include "sim/TcpLink.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <sstream>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;
void OnSignal(int) { g_stop = 1; }

void Usage(std::FILE* to)
{
    std::fputs("Usage: ft817-sim [--link PATH] [--log] [--service-ms N] [--acks none] [--ideal]\n"
               "               [--rate 4800|9600|38400] [--late MS] [--tcp [ADDRESS:]PORT [--rfc2217]]\n"
               "               [--drop P] [--garble P] [--silent-after N] [--vanish-after S]\n"
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
               "  --drop P        lose a fraction P (0..1) of the commands on the line: not carried out,\n"
               "                  not answered\n"
               "  --garble P      answer garbage (as many random bytes) in place of a fraction P of answers\n"
               "  --silent-after N  after N commands answer nothing, until the terminal is opened afresh\n"
               "  --vanish-after S  close the terminal after S seconds and offer it again 3 s later (the\n"
               "                  same path when free, and the --link), again S seconds after each return\n"
               "  --help          show this text\n"
               "The radio's own front panel, one action a line on standard input:\n"
               "  dial MHZ        its dial turned to MHZ (dial 14.074) on the VFO in use\n"
               "  mode NAME       its MODE key: LSB USB CW CWR AM WFM FM DIG PKT\n"
               "  ab              its A/B key: the other VFO\n"
               "  state           print the VFOs, split and PTT as they are now (with --log)\n"
               "--log names each fault made and each action of the radio's own panel.\n",
               to);
}

// A fraction 0..1, or false.
bool ParseFraction(const char* text, double& out)
{
    char* end = nullptr;
    const double v = std::strtod(text, &end);
    if (*end != '\0' || !(v >= 0 && v <= 1))
        return false;
    out = v;
    return true;
}

bool ParseCount(const char* text, long low, long high, long& out)
{
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (*end != '\0' || errno != 0 || v < low || v > high)
        return false;
    out = v;
    return true;
}

// The CAT mode code of a mode's name on the radio's display.
int ModeCode(const std::string& name)
{
    static const struct {
        const char* name;
        int code;
    } modes[] = {{"LSB", 0x00}, {"USB", 0x01}, {"CW", 0x02},  {"CWR", 0x03}, {"AM", 0x04},
                 {"WFM", 0x06}, {"FM", 0x08},  {"DIG", 0x0A}, {"PKT", 0x0C}};
    for (const auto& m : modes)
        if (name == m.name)
            return m.code;
    return -1;
}

// One line of the radio's own front panel; false with a reason for a line it does not know.
bool RadioPanelLine(kivo::sim::Ft817& radio, const std::string& line, std::string& done)
{
    std::istringstream in(line);
    std::string what, arg;
    in >> what >> arg;
    if (what.empty())
        return true;
    if (what == "dial") {
        char* end = nullptr;
        const double mhz = std::strtod(arg.c_str(), &end);
        if (arg.empty() || *end != '\0' || !(mhz >= 0.1 && mhz < 470)) {
            done = "dial wants a frequency in MHz, 0.1 to 470";
            return false;
        }
        radio.Current().freq = std::uint32_t(std::lround(mhz * 100000));
        done = "radio's own dial to " + arg + " MHz";
        return true;
    }
    if (what == "mode") {
        const int code = ModeCode(arg);
        if (code < 0) {
            done = "mode takes LSB, USB, CW, CWR, AM, WFM, FM, DIG or PKT";
            return false;
        }
        radio.Current().mode = std::uint8_t(code);
        done = "radio's own MODE key: " + arg;
        return true;
    }
    if (what == "state") {
        const auto show = [](const kivo::sim::Vfo& v) {
            return std::to_string(v.freq * 10) + " Hz mode " + std::to_string(int(v.mode));
        };
        done = "state: VFO A " + show(radio.A()) + ", VFO B " + show(radio.B()) + ", on VFO " +
               (radio.OnB() ? "B" : "A") + ", split " + (radio.Split() ? "on" : "off") + ", PTT " +
               (radio.Transmitting() ? "on" : "off");
        return true;
    }
    if (what == "ab") {
        radio.HandleFrame(std::string("\0\0\0\0\x81", 5));
        done = std::string("radio's own A/B key: VFO ") + (radio.OnB() ? "B" : "A");
        return true;
    }
    done = "unknown action " + what + " (dial MHZ, mode NAME, ab)";
    return false;
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
    int silentAfter = 0;
    double vanishAfter = 0;
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
        } else if (a == "--drop" && i + 1 < argc) {
            if (!ParseFraction(argv[++i], options.dropRate)) {
                std::fprintf(stderr, "ft817-sim: --drop wants a fraction, 0..1\n");
                return 2;
            }
        } else if (a == "--garble" && i + 1 < argc) {
            if (!ParseFraction(argv[++i], options.garbleRate)) {
                std::fprintf(stderr, "ft817-sim: --garble wants a fraction, 0..1\n");
                return 2;
            }
        } else if (a == "--silent-after" && i + 1 < argc) {
            long n = 0;
            if (!ParseCount(argv[++i], 1, 100000000, n)) {
                std::fprintf(stderr, "ft817-sim: --silent-after wants a number of commands, 1 or more\n");
                return 2;
            }
            silentAfter = int(n);
        } else if (a == "--vanish-after" && i + 1 < argc) {
            long secs = 0;
            if (!ParseCount(argv[++i], 1, 86400, secs)) {
                std::fprintf(stderr, "ft817-sim: --vanish-after wants a number of seconds, 1..86400\n");
                return 2;
            }
            vanishAfter = double(secs);
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
            // The ideal radio's timing; the line's faults chosen before or after stay.
            const auto ideal = kivo::sim::WireOptions::Ideal();
            options.serviceTime = ideal.serviceTime;
            options.acks = ideal.acks;
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
    if (vanishAfter > 0 && tcpPort >= 0) {
        std::fprintf(stderr, "ft817-sim: --vanish-after takes the terminal away; with --tcp there is none\n");
        return 2;
    }
    if (!link.empty() && tcpPort >= 0) {
        std::fprintf(stderr, "ft817-sim: --link makes a link to the terminal; with --tcp there is none\n");
        return 2;
    }
    options.rate = rate;
    options.silentAfter = silentAfter;
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
    const auto say = [&](const std::string& what) {
        if (!log)
            return;
        std::printf("%9.3f  %s\n", loop.Now() - start, what.c_str());
        std::fflush(stdout);
    };
    if (log) {
        wire.onFrame = [&](const kivo::sim::ReceivedFrame& f) {
            std::string answer = f.wrongRate  ? "(wrong rate) garbage sent"
                                 : f.accepted ? kivo::sim::DescribeAnswer(f.answer)
                                              : "(dropped)";
            if (!f.fault.empty())
                answer += "  [fault: " + f.fault + "]";
            std::printf("%9.3f  %s  %s\n", f.at - start, kivo::sim::DescribeFrame(f.bytes).c_str(), answer.c_str());
            std::fflush(stdout);
        };
    }
    // The radio's own front panel, from standard input.
    std::string pending;
    loop.WatchFd(STDIN_FILENO, [&] {
        char buf[256];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            if (n == 0 || errno != EINTR)
                loop.UnwatchFd(STDIN_FILENO); // the end of the input: the panel is left alone
            return;
        }
        pending.append(buf, std::size_t(n));
        for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
            const std::string line = pending.substr(0, eol);
            pending.erase(0, eol + 1);
            std::string done;
            if (RadioPanelLine(radio, line, done))
                say(done);
            else
                std::fprintf(stderr, "ft817-sim: %s\n", done.c_str());
        }
    });
    // The terminal goes away and comes back, over and over.
    std::unique_ptr<kivo::platform::Timer> vanish;
    if (vanishAfter > 0) {
        constexpr int kAwayMs = 3000;
        vanish = loop.CreateTimer();
        vanish->SetInterval(int(vanishAfter * 1000));
        vanish->onTick = [&] {
            if (pty->Offered()) {
                pty->Withdraw();
                say("fault: the terminal vanished");
                vanish->SetInterval(kAwayMs);
                return;
            }
            std::string err;
            if (!pty->Offer(err)) {
                std::fprintf(stderr, "ft817-sim: %s\n", err.c_str());
                return; // tried again after the same pause
            }
            say("the terminal is back on " + pty->Path());
            vanish->SetInterval(int(vanishAfter * 1000));
        };
        vanish->SetEnabled(true);
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
