#pragma once
// The main window's Memory menu: "Manager..." (entry 0), then the channel list import and export.

#include "panel/Program.h"

class QMainWindow;

namespace kivo::ui {

// Adds the menu to `window`'s menu bar; `program` outlives the window.
void BuildMemoryMenu(QMainWindow& window, panel::Program& program);

} // namespace kivo::ui
