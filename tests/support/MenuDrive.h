#pragma once
// Menu entries of a real window and the modal dialogs they open.

#include <QString>

#include <functional>
#include <string>

class QAction;
class QDialog;
class QMainWindow;

namespace kivo::testing {

// The entry captioned `text` in one of the menu bar's menus, or null.
QAction* MenuAction(QMainWindow& w, const QString& text);

// Triggers `entry` and runs `drive` on the modal dialog it opens; the dialog is closed afterwards
// whatever `drive` did. `what` names the entry in a failure, a missing one among them.
void DriveDialog(QAction* entry, const std::string& what, const std::function<void(QDialog&)>& drive);

} // namespace kivo::testing
