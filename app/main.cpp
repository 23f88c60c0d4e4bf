// kivo-ft817: the FT-817 front panel. With --simulate it brings its own radio.

#include "platform/DataDir.h"
#include "platform/InstanceLock.h"
#include "platform/Version.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "ui/EndSignals.h"
#include "ui/HelpWindow.h"

#include <QApplication>
#include <QMessageBox>
#include <QTextBrowser>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

namespace {

// While the application object is made, Qt's own messages are held back: when it cannot open a
// display it writes several lines and aborts, where one line that says what to do is wanted.
void OnQtMessageWhileStarting(QtMsgType type, const QMessageLogContext&, const QString&)
{
    if (type != QtFatalMsg)
        return;
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    std::string where = display && *display   ? std::string("DISPLAY=") + display
                        : wayland && *wayland ? std::string("WAYLAND_DISPLAY=") + wayland
                                              : std::string("DISPLAY is not set");
    std::fprintf(stderr,
                 "kivo-ft817: cannot open a window: no display could be opened (%s); start it from a desktop "
                 "session, or under Xvfb\n",
                 where.c_str());
    std::_Exit(1);
}

void Usage(std::ostream& to)
{
    to << "Usage: kivo-ft817 [--simulate] [--data-dir DIR] [--power] [--share-radio[=ADDRESS:PORT]] "
          "[--panel SIZE] [--help] [--version]\n"
          "  --simulate      run on a built-in FT-817 simulator instead of a radio; it gets a\n"
          "                  Serial Port number of its own (1 on a first run without radios)\n"
          "  --data-dir DIR  keep settings, band data and HOME memories in DIR\n"
          "                  (default: $XDG_DATA_HOME/kivo-ft817 or ~/.local/share/kivo-ft817)\n"
          "  --power         switch the panel on once started\n"
          "  --share-radio[=ADDRESS:PORT]\n"
          "                  share the radio with other programs over the network rig-control\n"
          "                  protocol (default 127.0.0.1:4532); remembered, like the menu entry\n"
          "  --panel SIZE    small, medium, large, lcd or radio, as chosen under Settings > Display;\n"
          "                  remembered, like the menu entry\n"
          "  --screenshot F  power on, save a picture of the window to F and end\n"
          "  --help          show this text\n"
          "  --version       show the version\n";
}

// The Settings > Display entry a --panel word names; -1 for none.
int DisplayEntry(const char* word)
{
    const std::pair<const char*, int> words[] = {
        {"small", kivo::panel::kDisplaySmall}, {"medium", kivo::panel::kDisplayMedium},
        {"large", kivo::panel::kDisplayLarge}, {"lcd", kivo::panel::kDisplayLcd},
        {"radio", kivo::panel::kDisplayRadio},
    };
    for (const auto& [w, entry] : words)
        if (std::strcmp(word, w) == 0)
            return entry;
    return -1;
}

} // namespace

int main(int argc, char** argv)
{
    std::string dataDir;
    bool simulate = false;
    bool powerOn = false;
    int display = -1; // a Settings > Display entry to choose once started
    std::optional<kivo::panel::ShareChoice> share;
    std::string screenshot; // POWER on, wait, save the window to this file, end

    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            Usage(std::cout);
            // Where Help > Contents reads its pages: found from this program's own folder, so an
            // installed copy names its prefix's share folder. No display is needed for that.
            QCoreApplication core(argc, argv);
            std::cout << "Help pages: " << kivo::ui::HelpFolder().toStdString() << "\n";
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "KIVO FT-817 " << kivo::platform::kVersion << "\n";
            return 0;
        }
        if (std::strcmp(argv[i], "--simulate") == 0) {
            simulate = true;
            continue;
        }
        if (std::strcmp(argv[i], "--power") == 0) {
            powerOn = true;
            continue;
        }
        if (std::strncmp(argv[i], "--share-radio", 13) == 0 && (argv[i][13] == '\0' || argv[i][13] == '=')) {
            share = kivo::panel::ParseShareAddress(argv[i][13] == '=' ? argv[i] + 14 : "");
            if (!share) {
                std::cerr << "kivo-ft817: --share-radio wants ADDRESS:PORT, for example 127.0.0.1:4532\n";
                return 2;
            }
            continue;
        }
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
            continue;
        }
        if (std::strcmp(argv[i], "--panel") == 0 && i + 1 < argc) {
            display = DisplayEntry(argv[++i]);
            if (display < 0) {
                std::cerr << "kivo-ft817: --panel wants small, medium, large, lcd or radio\n";
                return 2;
            }
            continue;
        }
        if (std::strcmp(argv[i], "--data-dir") == 0 && i + 1 < argc) {
            dataDir = argv[++i];
            continue;
        }
        std::cerr << "kivo-ft817: unknown option " << argv[i] << "\n";
        Usage(std::cerr);
        return 2;
    }
    if (dataDir.empty())
        dataDir = kivo::platform::DefaultDataDir();

    qInstallMessageHandler(OnQtMessageWhileStarting);
    QApplication app(argc, argv);
    qInstallMessageHandler(nullptr);
    QApplication::setApplicationName(QStringLiteral("KIVO FT-817"));
    QApplication::setApplicationVersion(QString::fromLatin1(kivo::platform::kVersion));
    QApplication::setQuitOnLastWindowClosed(true);

    // Said on the terminal and, for a start from the desktop menu, in a box; nobody is there to
    // answer a box when taking a screenshot.
    auto fail = [&screenshot](const std::string& message) {
        std::cerr << "kivo-ft817: " << message << "\n";
        if (screenshot.empty())
            QMessageBox::critical(nullptr, QStringLiteral("KIVO FT-817"), QString::fromStdString(message));
        return 1;
    };
    if (auto err = kivo::platform::EnsureDir(dataDir); !err.empty())
        return fail("The data folder " + dataDir + " cannot be used: " + err + ".");
    kivo::platform::InstanceLock lock;
    if (std::string message; !lock.Acquire(dataDir, message))
        return fail(message);

    // Set to 9600 bit/s, the default CAT Rate: another rate gets garbage, as from a real radio.
    kivo::sim::BackgroundSim sim({.rate = 9600});
    kivo::program::ProgramWindow window(dataDir);
    auto& prog = window.Program();
    if (simulate) {
        std::string err;
        const std::string path = sim.Start(err);
        if (path.empty()) {
            std::cerr << "kivo-ft817: cannot start the simulator: " << err << "\n";
            return 1;
        }
        prog.port.SetSimulator(path);
    }
    QTimer unattended;
    if (!screenshot.empty()) {
        // Nobody is there to answer the first-run messages: take each box's default answer.
        QObject::connect(&unattended, &QTimer::timeout, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                box->done(box->standardButtons() & QMessageBox::No ? QMessageBox::No : QMessageBox::Ok);
        });
        unattended.start(100);
    }
    // From here on, a signal waits for the start to finish, then ends the program in order.
    // Logout, shutdown or Ctrl+C: transmit off, the saves of shutdown, unsaved memories into a
    // recovery file; then the end, without the question nobody is there to answer.
    // A signal while a message box of the start waits for its answer ends the program from inside
    // that box: the rest of the start is then skipped.
    bool ended = false;
    kivo::ui::EndSignals endSignals(
        [&prog, &ended] {
            prog.panel.Power().EndUnattended();
            ended = true;
            QApplication::exit(0);
        },
        [&window] { return window.Loop().Depth() > 0; });
    prog.RefreshPorts();
    prog.panel.Power().Load();
    if (ended)
        return 0;
    if (display >= 0)
        prog.menus.Click(kivo::panel::MenuGroup::Display, display);
    if (simulate) {
        const int number = prog.port.Bindings().NumberOf(kivo::platform::kSimulatorDevice);
        if (number == 0)
            std::cerr << "kivo-ft817: all nine serial port numbers are taken; the simulator has none\n";
        else
            std::cerr << "kivo-ft817: simulated FT-817 on Serial Port " << number << "\n";
        if (number != 0 && prog.s.Settings.CommPort != number)
            prog.comm.ChooseCommPort(number);
    }
    if (!screenshot.empty()) {
        prog.panel.Power().PressPower();
        kivo::platform::Pause(window.Loop(), 1.5);
        const bool ok = window.grab().save(QString::fromStdString(screenshot));
        prog.panel.Power().EndKIVO();
        return ok ? 0 : 1;
    }
    prog.sharing.Load(share);
    if (powerOn)
        prog.panel.Power().PressPower();
    return ended ? 0 : app.exec();
}
