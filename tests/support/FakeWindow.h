#pragma once
// The main window as the core sees it: where it stands, what it was asked to show, in order.

#include "platform/Window.h"

#include <string>
#include <vector>

namespace kivo::testing {

class FakeWindow final : public platform::Window {
public:
    long Left() const override { return left; }
    long Top() const override { return top; }
    bool OnScreen(long l, long t) const override { return l >= 0 && t >= 0 && l < 1920 && t < 1080; }
    void MoveTo(long l, long t) override
    {
        left = l;
        top = t;
        calls.push_back("move");
    }
    void Centre() override
    {
        left = 400;
        top = 266;
        calls.push_back("centre");
    }
    void SetBusyCursor(bool b) override { calls.push_back(b ? "busy" : "idle"); }
    void ShowSplash(const std::string& v) override
    {
        version = v;
        calls.push_back("splash");
    }
    void HideSplash() override { calls.push_back("hide splash"); }
    void ShowMain() override { calls.push_back("main"); }
    void SetTitle(const std::string& t) override { title = t; }

    long left = 0, top = 0;
    std::string version, title;
    std::vector<std::string> calls;
};

} // namespace kivo::testing
