#pragma once
// The Memory menu's entry that opens a window: Manager... opens the memory manager.

#include "panel/Program.h"

class QMainWindow;

namespace kivo::ui {

void WireMemoryMenu(QMainWindow& window, panel::Program& program);

} // namespace kivo::ui
