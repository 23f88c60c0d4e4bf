#pragma once
// The CTCSS tone and DCS code dialogs over their model: an option button per tone or code in
// one frame, SAVE, DEFAULT and CANCEL.

#include "panel/ToneCodes.h"

class QWidget;

namespace kivo::ui {

// Shows the dialog modally, centred on the screen, until SAVE, CANCEL or its close box ends it.
// The option buttons are named "opt(i)", the keys "cmdSAVE", "cmdDEFAULT" and "cmdCancel".
void ShowToneCodesDialog(QWidget* parent, panel::ToneCodes& model);

} // namespace kivo::ui
