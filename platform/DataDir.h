#pragma once
// Where the program keeps its own files (settings, band data, HOME memories).

#include <string>

namespace kivo::platform {

// $XDG_DATA_HOME/kivo-ft817, else ~/.local/share/kivo-ft817.
std::string DefaultDataDir();
// Creates the folder and its parents; returns an empty string or the error description.
std::string EnsureDir(const std::string& dir);

} // namespace kivo::platform
