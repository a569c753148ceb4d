#include "test_window.h"

#include "watchdog.h"

TestWindow::TestWindow(const char* title) {
    static const ATOM windowClass = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "TavikTestHost";
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        return RegisterClassA(&wc);
    }();
    (void)windowClass;
    window_ = CreateWindowExA(0, "TavikTestHost", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 320, 240, nullptr,
                              nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpMessages();
}

TestWindow::~TestWindow() {
    if (window_) DestroyWindow(window_);
    PumpMessages();
}

bool TestWindow::Focus() {
    SetForegroundWindow(window_);
    SetFocus(window_);
    return WaitUntil([this] { return GetForegroundWindow() == window_; }, 3000);
}
