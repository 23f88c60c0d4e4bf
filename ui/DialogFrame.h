#pragma once
// What the modal dialogs over the panel's models share: their row of SAVE, DEFAULT and CANCEL
// keys, and opening in the middle of the screen.

#include <QHBoxLayout>

#include <functional>
#include <initializer_list>

class QDialog;

namespace kivo::ui {

struct DialogKey {
    const char* name;             // object name, e.g. "cmdSAVE"
    const char* caption;          // e.g. "SAVE"
    std::function<void()> action; // what the model does
};

// The keys in a row, right-aligned. After each key's action `stillOpen` refreshes the dialog
// from its model and says whether the model is still open; when it is not, the dialog ends.
QHBoxLayout* DialogKeys(QDialog& dlg, std::initializer_list<DialogKey> keys, const std::function<bool()>& stillOpen);

// Moves the dialog, laid out at its size, to the middle of the screen it would open on.
void CentreOnScreen(QDialog& dlg);

} // namespace kivo::ui
