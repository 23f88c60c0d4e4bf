#pragma once
// The Memory menu's entry that opens a window: Manager... opens the memory manager.

#include "ui/ProgramParts.h"

class QMainWindow;

namespace kivo::ui {

void WireMemoryMenu(QMainWindow& window, const ProgramParts& program);

} // namespace kivo::ui
