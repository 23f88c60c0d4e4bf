#pragma once
// The real window started over the simulator: the data files a start reads, then the port.

#include "state/ModKIVO.h"

#include <string>

namespace kivo::sim {
class BackgroundSim;
}
namespace kivo::program {
class ProgramWindow;
}

namespace kivo::testing {

// Files for a start on Serial Port 1 with no tuning at start-up, VFO A of the 2 m band on `freq`
// in FM: the window opens on the simulator without a question.
state::ModKIVO SimulatorStart(state::Long freq);

// Writes the settings, band data and home files of `f` into `dir`; true when all three were written.
bool SaveStartFiles(state::ModKIVO f, const std::string& dir);

// Starts `radio`, points the window's port at its pseudo-terminal and loads the panel as a start
// does; false, with the reason in `error`, when the simulator could not start.
bool OpenOnSimulator(program::ProgramWindow& w, sim::BackgroundSim& radio, std::string& error);

} // namespace kivo::testing
