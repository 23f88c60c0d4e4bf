// A long run of the whole program: the window, the real serial code and the built-in simulator
// behaving as the radio does, lit, the meter polling every 100 ms and the main knob turned one
// notch a second. Prints resident memory at the start and the end, CPU, and the frames the
// radio took and dropped.
//   soak [seconds]   (default 1800)

#include "bench/BenchFiles.h"
#include "bench/BenchWindow.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "ui/Knob.h"

#include <QApplication>
#include <QTimer>
#include <QWheelEvent>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

using namespace kivo;

namespace {

long ResidentKb()
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return -1;
}

double CpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 1800;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string dir = std::filesystem::temp_directory_path() / "kivo-soak";
    std::filesystem::create_directories(dir);
    bench::WriteBenchFiles(dir, 5); // meter every 100 ms
    sim::BackgroundSim radio;       // the radio as it is: service time, acknowledgements, drops
    std::string err;
    const std::string path = radio.Start(err);
    if (path.empty()) {
        std::fprintf(stderr, "soak: %s\n", err.c_str());
        return 1;
    }
    long startKb = 0;
    double startCpu = 0;
    int notches = 0;
    {
        program::ProgramWindow w(dir);
        auto& prog = w.Program();
        bench::LoadOnSimulator(w, path);
        prog.panel.Power().PressPower();
        platform::Pause(w.Loop(), 2.0);
        startKb = ResidentKb();
        startCpu = CpuSeconds();

        ui::Knob* knob = w.MainKnob();
        QTimer turn;
        QObject::connect(&turn, &QTimer::timeout, [&] {
            const QPointF at(knob->width() / 2.0, knob->height() / 2.0);
            QWheelEvent notch(at, knob->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                              Qt::NoScrollPhase, false);
            QApplication::sendEvent(knob, &notch);
            ++notches;
        });
        turn.start(1000);
        QTimer::singleShot(seconds * 1000, &app, &QCoreApplication::quit);
        app.exec();
        turn.stop();
        prog.panel.Power().PressPower();
    }
    const double cpu = CpuSeconds() - startCpu;
    const long endKb = ResidentKb();
    radio.Stop();
    std::printf("soak: %d s lit, meter every 100 ms, %d knob notches\n", seconds, notches);
    std::printf("resident memory: %ld kB at the start, %ld kB at the end\n", startKb, endKb);
    std::printf("CPU: %.2f s, %.3f%% of one core\n", cpu, 100.0 * cpu / seconds);
    std::printf("frames: %zu taken by the radio, %zu dropped\n", radio.FramesAccepted(), radio.FramesDropped());
    std::filesystem::remove_all(dir);
    return radio.FramesDropped() == 0 ? 0 : 1;
}
