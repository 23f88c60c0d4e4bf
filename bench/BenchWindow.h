#pragma once
// The window loaded on a simulator's terminal: its port bound to the terminal and the data
// files read, the port open, the panel still dark.

#include "program/ProgramWindow.h"

#include <string>

namespace kivo::bench {

inline void LoadOnSimulator(program::ProgramWindow& w, const std::string& terminal)
{
    auto& prog = w.Program();
    prog.port.SetSimulator(terminal);
    prog.RefreshPorts();
    prog.panel.Power().Load();
}

} // namespace kivo::bench
