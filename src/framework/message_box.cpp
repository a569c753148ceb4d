#include "framework/message_box.h"

#include "framework/application.h"

int OwnedMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    // A box disables its owner, which waits for the owner's thread; from another thread (the
    // host's emulation thread, say) it could wait for ever on a window thread that waits for us.
    if (owner && GetWindowThreadProcessId(owner, nullptr) != GetCurrentThreadId()) {
        owner = nullptr;
        style |= MB_TOPMOST;
    }
    return MessageBoxA(owner, text, caption, style);
}

int AppMessageBox(const char* text, UINT style) {
    const Application* app = TheApplication();
    // Owned by the calling thread's active window, like a framework's application box: never by a
    // window of another thread, which could be blocked waiting on us. A thread without one (the
    // host's emulation thread) puts it on top, or it could hide behind the game.
    HWND owner = GetActiveWindow();
    if (!owner) style |= MB_TOPMOST;
    return OwnedMessageBox(owner, text, app ? app->Title() : "Tavik_DI", style);
}
