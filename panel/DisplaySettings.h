#pragma once
// Settings > Display: the three panel sizes with the fit-to-screen rule, the LCD-only and
// whole-radio views and the two colour schemes. The window lays itself out through
// `platform::PanelLayout`; without one (no window yet, or a test that does not care) the
// choices are only recorded and shown.

#include "panel/PanelContext.h"
#include "platform/PanelLayout.h"

namespace kivo::panel {

// Display menu entries (`mnuResizeDisplayArray`); 3 and 6 are separators.
inline constexpr int kDisplaySmall = 0;
inline constexpr int kDisplayMedium = 1;
inline constexpr int kDisplayLarge = 2;
inline constexpr int kDisplayLcd = 4;
inline constexpr int kDisplayRadio = 5;
inline constexpr int kColors16Bit = 7;
inline constexpr int kColors8Bit = 8;

// Panel widths of Small, Medium and Large in logical pixels, laid out for screens that wide.
inline constexpr long kDisplayWidths[3] = {640, 800, 1024};

class DisplaySettings : private ContextRefs {
public:
    explicit DisplaySettings(const PanelContext& ctx);

    // The window that lays the panel out; nullptr leaves the layout alone.
    void SetLayout(platform::PanelLayout* layout) { m_layout = layout; }

    // Settings > Display entry 0..8: a size, a view or a colour scheme; other indexes do nothing.
    void ChooseDisplay(int index);

    // The panel width of the size last chosen, in logical pixels.
    long Width() const { return m_width; }

private:
    void ChooseSize(int index);
    void ChooseView(int index);
    void ChooseColors(int index);
    void ResizeDisplay(long width);
    void SelectInterfacePics(long width);

    platform::Window& m_window;
    platform::PanelLayout* m_layout = nullptr;
    long m_width = kDisplayWidths[kDisplayLarge];
};

} // namespace kivo::panel
