#include "window_text.h"

std::string WindowTextOf(HWND window) {
    wchar_t wide[1024] = {};
    InternalGetWindowText(window, wide, 1024);
    char text[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}
