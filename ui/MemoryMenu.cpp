#include "ui/MemoryMenu.h"

#include "ui/MemoryManagerWindow.h"

#include <QMainWindow>

namespace kivo::ui {

void WireMemoryMenu(QMainWindow& window, panel::Program& prog)
{
    prog.menus.On(panel::MenuGroup::Memory, 0, [&window, &prog] { ShowMemoryManager(&window, prog.s); });
}

} // namespace kivo::ui
