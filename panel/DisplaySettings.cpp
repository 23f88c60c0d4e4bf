#include "panel/DisplaySettings.h"

#include "panel/Power.h"

#include <exception>
#include <string>

namespace kivo::panel {

using platform::Buttons;
using platform::Icon;

DisplaySettings::DisplaySettings(const PanelContext& ctx) : ContextRefs(ctx), m_window(ctx.window) {}

void DisplaySettings::ChooseDisplay(int index)
{
    if (index >= kDisplaySmall && index <= kDisplayLarge)
        ChooseSize(index);
    else if (index == kDisplayLcd || index == kDisplayRadio)
        ChooseView(index);
    else if (index == kColors16Bit || index == kColors8Bit)
        ChooseColors(index);
}

void DisplaySettings::ChooseSize(int index)
{
    m_window.SetBusyCursor(true);
    for (int i = kDisplaySmall; i <= kDisplayLarge; ++i)
        m_display.SetChecked(el::mnuResizeDisplayArray(i), false);
    long width = kDisplayWidths[index];
    // A size wider than a screen of exactly one of the three widths gives way to that one.
    if (m_layout) {
        const long screen = m_layout->ScreenWidth();
        for (int i = kDisplaySmall; i <= kDisplayLarge; ++i)
            if (width > screen && screen == kDisplayWidths[i]) {
                index = i;
                width = screen;
            }
    }
    m_width = width;
    ResizeDisplay(width);
    SelectInterfacePics(width);
    m_s.Settings.DisplaySize = Integer(index);
    m_display.SetChecked(el::mnuResizeDisplayArray(index), true);
    // A new size lays out the whole radio; the LCD view takes its shape again.
    if (m_s.Settings.DisplayStyle == kDisplayLcd)
        ChooseView(kDisplayLcd);
    m_window.SetBusyCursor(false);
}

void DisplaySettings::ChooseView(int index)
{
    m_display.SetChecked(el::mnuResizeDisplayArray(kDisplayLcd), index == kDisplayLcd);
    m_display.SetChecked(el::mnuResizeDisplayArray(kDisplayRadio), index == kDisplayRadio);
    m_s.Settings.DisplayStyle = Integer(index);
    if (m_layout)
        m_layout->ShowLcdOnly(index == kDisplayLcd);
}

void DisplaySettings::ChooseColors(int index)
{
    const unsigned color = index == kColors16Bit ? kLit16BitColor : kLit8BitColor;
    // The dark panel keeps its unlit colour; POWER on lights it in the scheme chosen.
    if (m_s.CATOn) {
        m_display.SetColor(el::DisplayPanel, color);
        m_display.SetColor(el::LMeter, color);
    }
    m_display.SetColor(el::ledFreq, color);
    m_display.SetColor(el::ledSubFreq, color);
    m_display.SetChecked(el::mnuResizeDisplayArray(kColors16Bit), index == kColors16Bit);
    m_display.SetChecked(el::mnuResizeDisplayArray(kColors8Bit), index == kColors8Bit);
    m_s.Settings.ColorDepth = Integer(index);
    SelectInterfacePics(m_width);
}

void DisplaySettings::ResizeDisplay(long width)
{
    if (!m_layout)
        return;
    std::string error;
    int step = 0;
    bool ok = false;
    try {
        ok = m_layout->ResizeDisplay(width, error, step);
    } catch (const std::exception& e) {
        error = e.what();
    }
    if (ok)
        return;
    m_dialogs.MessageBox("Error encountered while trying to size or adjust the display. " + error + "." +
                             " Error occured after line " + std::to_string(step) +
                             ". Some video cards may cause this problem when the Display settings in Control Panel "
                             "have been set to display Large Fonts. Try setting your font size to Normal, and then "
                             "re-boot your system.",
                         "Resize Display Error", Icon::Exclamation, Buttons::Ok);
}

void DisplaySettings::SelectInterfacePics(long width)
{
    const int depth = m_s.Settings.ColorDepth;
    if (m_layout && (depth == kColors16Bit || depth == kColors8Bit))
        m_layout->SelectInterfacePics(width, depth);
}

} // namespace kivo::panel
