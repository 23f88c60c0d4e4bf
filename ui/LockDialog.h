#pragma once
// The modal password dialog of File > Lock Menus... and Unlock Menus...

#include "lock/MenuLock.h"

#include <string>

class QWidget;

namespace kivo::ui {

// Shows the dialog with `caption` ("Lock Menus" or "Unlock Menus") over `parent` until the lock
// accepts the password or the user cancels.
void ShowLockDialog(QWidget* parent, lock::MenuLock& lock, const std::string& caption);

} // namespace kivo::ui
