#pragma once
// Help > About KIVO FT-817: the program's name and version, shown modally.

class QWidget;

namespace kivo::ui {

void ShowAboutBox(QWidget* parent);

} // namespace kivo::ui
