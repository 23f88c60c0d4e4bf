#pragma once
// The tuning-steps dialog over its model: a combo box per step box, SAVE, DEFAULT and CANCEL.

#include "panel/TuningSteps.h"
#include "platform/DisplayModel.h"

class QWidget;

namespace kivo::ui {

// Shows the dialog modally until SAVE, CANCEL or its close box ends it.
void ShowTuningStepsDialog(QWidget* parent, panel::TuningSteps& steps, const platform::DisplayModel& model);

} // namespace kivo::ui
