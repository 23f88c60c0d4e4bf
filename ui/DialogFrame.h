#pragma once
// What the modal dialogs over the panel's models share: their row of SAVE, DEFAULT and CANCEL
// keys, opening in the middle of the screen, and CANCEL on the close box.

#include <QBoxLayout>
#include <QDialog>
#include <QHBoxLayout>

#include <functional>
#include <initializer_list>

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

// Ends `all` with the SAVE, DEFAULT and CANCEL keys of `model`, shows `refresh`ed from it,
// centred and modal, and runs it; closing it with the window's own close box is CANCEL.
template <class Model, class Refresh> void RunModelDialog(QDialog& dlg, QBoxLayout& all, Model& model, Refresh refresh)
{
    all.addLayout(DialogKeys(dlg,
                             {
                                 {"cmdSAVE", "SAVE", [&] { model.SAVE(); }},
                                 {"cmdDEFAULT", "DEFAULT", [&] { model.DEFAULT(); }},
                                 {"cmdCancel", "CANCEL", [&] { model.CANCEL(); }},
                             },
                             [&] {
                                 refresh();
                                 return model.IsOpen();
                             }));
    refresh();
    CentreOnScreen(dlg);
    dlg.exec();
    if (model.IsOpen())
        model.CANCEL();
}

} // namespace kivo::ui
