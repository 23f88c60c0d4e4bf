#include "ui/MemoryMenu.h"

#include "ui/MemoryManagerWindow.h"

#include <QMainWindow>

namespace kivo::ui {

void WireMemoryMenu(QMainWindow& window, const ProgramParts& program)
{
    program.menus.On(panel::MenuGroup::Memory, 0, [&window, &s = program.s] { ShowMemoryManager(&window, s); });
}

} // namespace kivo::ui
