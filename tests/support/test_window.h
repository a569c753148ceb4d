// A visible top-level window standing in for the host's main window.
#pragma once

#include <windows.h>

class TestWindow {
public:
    explicit TestWindow(const char* title = "Tavik_DI test host");
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return window_; }
    // Brings it to the foreground with the keyboard focus (no window manager runs under Xvfb).
    bool Focus();

private:
    HWND window_ = nullptr;
};
