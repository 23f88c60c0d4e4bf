#include "ui/KeyForwarder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kivo::ui {

namespace vk = panel::vk;

int VirtualKeyOf(const QKeyEvent& event)
{
    const int key = event.key();
    const bool pad = (event.modifiers() & Qt::KeypadModifier) != 0;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return (pad ? vk::kNumpad0 : '0') + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return vk::kF1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Space: return vk::kSpace;
    case Qt::Key_PageUp: return vk::kPageUp;
    case Qt::Key_PageDown: return vk::kPageDown;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vk::kEnter;
    case Qt::Key_Escape: return vk::kEscape;
    case Qt::Key_Slash: return pad ? vk::kDivide : 0;
    case Qt::Key_Minus: return pad ? vk::kSubtract : 0;
    case Qt::Key_Plus: return pad ? vk::kAdd : 0;
    // The keypad's decimal key gives a comma on some layouts.
    case Qt::Key_Period:
    case Qt::Key_Comma: return pad ? vk::kDecimal : 0;
    // Shift with a top-row digit gives its symbol (US layout); the key is still the digit.
    case Qt::Key_Asterisk: return pad ? vk::kMultiply : '8';
    case Qt::Key_Exclam: return '1';
    case Qt::Key_At: return '2';
    case Qt::Key_NumberSign: return '3';
    case Qt::Key_Dollar: return '4';
    case Qt::Key_Percent: return '5';
    case Qt::Key_AsciiCircum: return '6';
    case Qt::Key_Ampersand: return '7';
    case Qt::Key_ParenLeft: return '9';
    case Qt::Key_ParenRight: return '0';
    default: return 0;
    }
}

int ModifiersOf(const QKeyEvent& event)
{
    int m = 0;
    if (event.modifiers() & Qt::ShiftModifier)
        m |= panel::kShiftDown;
    if (event.modifiers() & Qt::ControlModifier)
        m |= panel::kCtrlDown;
    return m;
}

KeyForwarder::KeyForwarder(QWidget* window, panel::Keyboard& keyboard) : m_window(window), m_keyboard(keyboard)
{
    qApp->installEventFilter(this);
}

KeyForwarder::~KeyForwarder() { qApp->removeEventFilter(this); }

bool KeyForwarder::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::WindowDeactivate) {
        // A dialog, another window or a screen lock took the keyboard: no key-up will come.
        if (watched == m_window)
            m_keyboard.FocusLost();
        return false;
    }
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride)
        return false;
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_window)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    // Alt with a letter opens the menus.
    if (key->modifiers() & Qt::AltModifier)
        return false;
    const int code = VirtualKeyOf(*key);
    const bool panelKey = panel::Keyboard::IsPanelKey(code);
    // Typed characters never reach a control; arrows, Tab and the like still do (a focused knob).
    const bool typed = !key->text().isEmpty() && key->text().at(0).isPrint();
    if (!panelKey && !typed)
        return false;
    if (type == QEvent::ShortcutOverride) {
        event->accept(); // the key comes as a key press, not as a shortcut
        return true;
    }
    if (type == QEvent::KeyPress) {
        m_keyboard.KeyDown(code, ModifiersOf(*key), key->isAutoRepeat());
    } else if (!key->isAutoRepeat()) {
        // X11 sends a release before each auto-repeated press; only the real release counts.
        m_keyboard.KeyUp(code, ModifiersOf(*key));
    }
    return true;
}

} // namespace kivo::ui
