// The modeless netplay log and chat window. It runs on a UI thread of its own, from its first use
// until it is destroyed; the netplay threads only hand it text under a short lock and post to it,
// so none of them ever waits on a thread that may itself be waiting (the host's thread is often
// blocked in RomOpen or GetKeys while the game runs). The text is kept here as well, so that the
// window made for a later game shows the whole session's log. Each window's thread has a dialog
// object of its own: a closing window and the next one never share a handle.
#pragma once

#include "framework/module_thread.h"
#include "framework/slim_lock.h"

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <string>

class NetplayLogWindow {
public:
    constexpr NetplayLogWindow() = default;
    NetplayLogWindow(const NetplayLogWindow&) = delete;
    NetplayLogWindow& operator=(const NetplayLogWindow&) = delete;

    // Lets the window appear, hidden, at its first use. Starts nothing.
    bool Create();
    // Tells the window's thread to end and waits for it a bounded time. Lines appended meanwhile
    // are kept for the next window. Not for DllMain: it waits, unless `waitForThread` is false
    // (RomClosed, which must return at once; the thread keeps the library loaded on its own).
    void Destroy(bool waitForThread = true);
    void Show();
    void Hide();
    bool Shown() const { return shown_; }
    // Appends `text` (usually ending in CR LF) and keeps the last line in view.
    void AppendLine(const char* text);

private:
    class Window;

    static DWORD WINAPI ThreadMain(void* self);
    // Starts the window's thread when the window may exist and has none, else asks the window to
    // catch up. The caller holds lock_.
    void RequestUpdate();
    // On the window's thread: shows the text `window` lacks and the wanted visibility.
    void Update(Window& window);
    // Whether the calling thread runs the window that is wanted now. The caller holds lock_.
    bool Current() const { return created_ && thread_.id == GetCurrentThreadId(); }

    // Creating the thread and storing its handle are one step under this lock, so Destroy never
    // sees a thread that is starting but not yet recorded.
    SlimLock lock_;
    bool created_ = false;
    ModuleThread thread_;
    HWND postTo_ = nullptr;  // the window, once its thread has made it
    bool updatePosted_ = false;
    std::string text_;

    std::atomic<bool> shown_{false};
};

extern NetplayLogWindow netplayLogWindow;
