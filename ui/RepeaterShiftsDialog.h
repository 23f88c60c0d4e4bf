#pragma once
// The repeater shift dialog over its model: a text box per band for the shift, "On" and "Off"
// for the automatic shift of 2 m and 70 cm, SAVE, DEFAULT and CANCEL.

#include "panel/RepeaterShifts.h"

class QWidget;

namespace kivo::ui {

// Shows the dialog modally, centred on the screen, until SAVE, CANCEL or its close box ends it.
// The boxes are named "txtRPToffset(k)", the options "ssopt144(0)" (On), "ssopt144(1)" (Off)
// and the same for 430, the keys "cmdSAVE", "cmdDEFAULT" and "cmdCancel".
void ShowRepeaterShiftsDialog(QWidget* parent, panel::RepeaterShifts& model);

} // namespace kivo::ui
