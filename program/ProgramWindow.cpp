#include "program/ProgramWindow.h"

namespace kivo::program {

ProgramWindow::ProgramWindow(const std::string& dataDir, QWidget* parent)
    : ui::MainWindow(parent), m_program(std::make_unique<program::Program>(Loop(), Dialogs(), *this, dataDir))
{
    auto& p = *m_program;
    Attach({p.s, p.display, p.dialogs, p.panel, p.menus, p.announcements, p.menuLock, p.scope,
            [&p] { p.RefreshPorts(); }});
}

ProgramWindow::~ProgramWindow() { Detach(); }

} // namespace kivo::program
