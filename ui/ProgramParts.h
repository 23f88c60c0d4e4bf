#pragma once
// The parts of the program the windows work on, handed to them by the program's root, which
// builds them all and outlives every window.

#include "lock/MenuLock.h"
#include "panel/Announcements.h"
#include "panel/FrontPanel.h"
#include "panel/MainMenu.h"
#include "platform/Dialogs.h"
#include "platform/DisplayModel.h"
#include "scope/BandScope.h"
#include "state/ModKIVO.h"

#include <functional>

namespace kivo::ui {

struct ProgramParts {
    state::ModKIVO& s;
    platform::DisplayModel& display;
    platform::Dialogs& dialogs;
    panel::FrontPanel& panel;
    panel::MainMenu& menus;
    panel::Announcements& announcements;
    lock::MenuLock& menuLock;
    scope::BandScope& scope;
    // Names each serial port number's device in the port menu as it opens.
    std::function<void()> refreshPorts;
};

} // namespace kivo::ui
