#pragma once
// Hands the main window's key strokes to the panel's keyboard before any control of the window
// sees them, and tells it when the window loses the keyboard. It only translates.

#include "panel/Keyboard.h"

#include <QObject>

class QKeyEvent;
class QWidget;

namespace kivo::ui {

// The virtual-key number of a key event, 0 for a key the panel does not know.
int VirtualKeyOf(const QKeyEvent& event);
// Shift 1, Ctrl 2, both 3.
int ModifiersOf(const QKeyEvent& event);

class KeyForwarder final : public QObject {
public:
    // Watches every key event of `window`'s widgets (installed on the application until destroyed;
    // destroy it before `keyboard`).
    KeyForwarder(QWidget* window, panel::Keyboard& keyboard);
    ~KeyForwarder() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* m_window;
    panel::Keyboard& m_keyboard;
};

} // namespace kivo::ui
