// The modeless netplay log and chat window. It lives on a UI thread of its own: the netplay threads
// only post to it, so none of them ever waits on a thread that may itself be waiting (the host's
// thread is often blocked in RomOpen or GetKeys while the game runs).
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

#include <atomic>

class NetplayLogWindow {
public:
    constexpr NetplayLogWindow() = default;
    NetplayLogWindow(const NetplayLogWindow&) = delete;
    NetplayLogWindow& operator=(const NetplayLogWindow&) = delete;

    // Makes the window ready to use; it appears, hidden, on a thread of its own at first use. Safe
    // under the loader lock: nothing here starts or waits for a thread.
    bool Create();
    // Ends the window and its thread. `processTerminating`: the thread is already gone, just forget it.
    void Destroy(bool processTerminating = false);
    void Show();
    void Hide();
    bool Shown() const { return shown_; }
    // Appends `text` (usually ending in CR LF) and keeps the last line in view.
    void AppendLine(const char* text);

private:
    static DWORD WINAPI ThreadMain(void* self);
    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Starts the window's thread on first use and waits (bounded) for the window.
    HWND WaitForWindow();
    void Post(UINT message, WPARAM wParam, LPARAM lParam);

    std::atomic<bool> created_{false};
    std::atomic<bool> shown_{false};
    std::atomic<bool> threadStarted_{false};
    std::atomic<HWND> window_{nullptr};
    UniqueKernelHandle thread_;
    UniqueKernelHandle ready_;   // set once the window exists (or could not be made)
    UniqueKernelHandle parked_;  // set when the thread has left the window for good
};

extern NetplayLogWindow netplayLogWindow;
