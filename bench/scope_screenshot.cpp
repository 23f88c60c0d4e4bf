// Takes the README's picture of the band scope: the program on its simulator, continuous scan
// over 145.000 MHz with the waterfall of the sweeps so far, caught mid-sweep on the carrier.
// Run under Xvfb for the desktop style: scope-screenshot FILE

#include "platform/FileSystem.h"
#include "program/ProgramWindow.h"
#include "scope/ScopeSettings.h"
#include "sim/BackgroundSim.h"
#include "tests/support/WindowRig.h"
#include "ui/BandScopeWindow.h"

#include <QApplication>
#include <QTemporaryDir>

#include <iostream>

using namespace kivo;

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: scope-screenshot FILE\n";
        return 2;
    }
    QTemporaryDir dir;
    const std::string data = dir.path().toStdString();
    {
        state::ModKIVO f = testing::SimulatorStart(14500000);
        f.Settings.CatRate = 1;
        platform::PosixFileSystem fs;
        scope::ScopeSettings chart;
        chart.ContinuousScan = 0; // the waterfall
        chart.ScopeScanSpeed = 4; // 250 ms
        chart.ScaleHandles = 3;
        if (!testing::SaveStartFiles(f, data) ||
            !fs.WriteAtomic(data + "/" + scope::kScopeSettingsFileName, scope::ToBytes(chart)))
            return 1;
    }
    sim::BackgroundSim radio; // the radio's own timing
    // A weak neighbour beside the S7 carrier on 145.000.
    radio.Radio().Band().push_back({14501400, 4, 300});
    program::ProgramWindow w(data);
    auto& prog = w.Program();
    if (std::string err; !testing::OpenOnSimulator(w, radio, err)) {
        std::cerr << err << "\n";
        return 1;
    }
    prog.panel.Power().PressPower();
    ui::BandScopeWindow* scope = ui::ShowBandScope(&w, w.Parts());
    prog.scope.ChooseStep(2); // 1 kHz
    prog.scope.StartStop();
    // Some sweeps for the waterfall, then well into the next, past the carrier.
    while (prog.scope.History().size() < 6 || prog.scope.Trace().points.size() < 31)
        platform::Pause(w.Loop(), 0.05);
    const bool ok = scope->grab().save(QString::fromLocal8Bit(argv[1]));
    prog.scope.StartStop();
    return ok ? 0 : 1;
}
