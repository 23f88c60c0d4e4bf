#pragma once
// The whole program in its main window: the window first (its event loop and dialogs are what the
// program is built over), then the program, then the window's panel and menus over the program.

#include "program/Program.h"
#include "ui/MainWindow.h"

#include <memory>
#include <string>

namespace kivo::program {

class ProgramWindow final : public ui::MainWindow {
public:
    explicit ProgramWindow(const std::string& dataDir, QWidget* parent = nullptr);
    ~ProgramWindow() override;

    program::Program& Program() { return *m_program; }

private:
    std::unique_ptr<program::Program> m_program;
};

} // namespace kivo::program
