#pragma once
// What the display settings need of the main window: the screen's width, laying the panel out
// for one of the three widths, the LCD-only and whole-radio views and the face of a colour scheme.

#include <string>

namespace kivo::platform {

class PanelLayout {
public:
    virtual ~PanelLayout() = default;
    // Width of the screen the main window is on, in logical pixels.
    virtual long ScreenWidth() const = 0;
    // Scales the panel (window, displays, keys, knobs, meter, fonts) to `width` logical pixels. On failure
    // returns false with `error` describing it and `step` the last step of the layout reached;
    // the window keeps whatever it reached.
    virtual bool ResizeDisplay(long width, std::string& error, int& step) = 0;
    // The front-panel face for the width and the colour scheme (7 "16 Bit Colors", 8 "8 Bit Colors").
    virtual void SelectInterfacePics(long width, int colorDepth) = 0;
    // True: the window shrinks to the display panel alone; false: the whole front panel.
    virtual void ShowLcdOnly(bool lcdOnly) = 0;
};

} // namespace kivo::platform
