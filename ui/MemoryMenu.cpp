#include "ui/MemoryMenu.h"

#include "ui/MemoryManagerWindow.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>

namespace kivo::ui {

void BuildMemoryMenu(QMainWindow& window, panel::Program& prog)
{
    QMenu* memory = window.menuBar()->addMenu(QStringLiteral("&Memory"));
    memory->setObjectName(QStringLiteral("mnuMemory"));
    memory->addAction(QStringLiteral("&Manager..."), &window, [&window, &prog] { ShowMemoryManager(&window, prog.s); });
    memory->addAction(QStringLiteral("&Import Channels (CSV)..."), &window, [&prog] { prog.channels.Import(); });
    memory->addAction(QStringLiteral("&Export Channels (CSV)..."), &window, [&prog] { prog.channels.Export(); });
}

} // namespace kivo::ui
