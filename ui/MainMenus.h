#pragma once
// The main window's menu bar: File (the memory file), Settings (port, rate, meter, start-up
// option, tuning steps, repeater shifts, CTCSS tones, DCS codes) and Memory; each checkable
// entry bound to its display-model element.

#include "panel/Program.h"
#include "ui/ElementBinding.h"

class QMainWindow;

namespace kivo::ui {

// Adds the menus to `window`'s menu bar; `program` and `binding` outlive the window.
void BuildMainMenus(QMainWindow& window, panel::Program& program, ElementBinding& binding);

} // namespace kivo::ui
