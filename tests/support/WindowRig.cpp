#include "tests/support/WindowRig.h"

#include "platform/ScriptedDialogs.h"
#include "program/ProgramWindow.h"
#include "sim/BackgroundSim.h"
#include "state/DataFiles.h"

namespace kivo::testing {

state::ModKIVO SimulatorStart(state::Long freq)
{
    state::ModKIVO f;
    f.Settings.CommPort = 1;
    f.Settings.TuneOnStartup = 0;
    f.BandData.LastBandMB = 1;
    f.BandData.BandVFOMB[1] = {freq, 5, 60000, 0, 0, 8, 0, 0};
    return f;
}

bool SaveStartFiles(state::ModKIVO f, const std::string& dir)
{
    platform::PosixFileSystem fs;
    platform::ScriptedDialogs none;
    state::DataFiles files(f, fs, none, dir);
    return files.SaveSettingsFile() && files.SaveBandDataFile() && files.SaveHomeFile();
}

bool OpenOnSimulator(program::ProgramWindow& w, sim::BackgroundSim& radio, std::string& error)
{
    const std::string port = radio.Start(error);
    if (port.empty())
        return false;
    auto& prog = w.Program();
    prog.port.SetSimulator(port);
    prog.RefreshPorts();
    prog.panel.Power().Load();
    return true;
}

} // namespace kivo::testing
