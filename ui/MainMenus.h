#pragma once
// The main window's menu bar: File (the memory file), Settings (port, rate, meter, start-up
// option, tuning steps, repeater shifts, CTCSS tones, DCS codes) and Memory; each checkable
// entry bound to its display-model element.

#include "ui/ElementBinding.h"
#include "ui/ProgramParts.h"

class QMainWindow;

namespace kivo::ui {

// Adds the menus to `window`'s menu bar; `program` and `binding` outlive the window.
void BuildMainMenus(QMainWindow& window, const ProgramParts& program, ElementBinding& binding);

} // namespace kivo::ui
