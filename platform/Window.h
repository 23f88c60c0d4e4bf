#pragma once
// What the program logic needs of its main and splash windows.

#include <string>

namespace kivo::platform {

class Window {
public:
    virtual ~Window() = default;
    // Position of the main window's top-left corner in logical pixels.
    virtual long Left() const = 0;
    virtual long Top() const = 0;
    // True when a window placed there would be on a screen that exists now.
    virtual bool OnScreen(long left, long top) const = 0;
    virtual void MoveTo(long left, long top) = 0;
    virtual void Centre() = 0;
    virtual void SetBusyCursor(bool busy) = 0;
    // The splash window with its version line; shown without waiting.
    virtual void ShowSplash(const std::string& versionText) = 0;
    virtual void HideSplash() = 0;
    virtual void ShowMain() = 0;
    virtual void SetTitle(const std::string& title) = 0;
};

} // namespace kivo::platform
