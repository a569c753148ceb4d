#include "framework/message_box.h"

#include "framework/application.h"

int OwnedMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    return MessageBoxA(owner, text, caption, style);
}

int AppMessageBox(const char* text, UINT style) {
    const Application* app = TheApplication();
    // Owned by the calling thread's active window, like a framework's application box: never by a
    // window of another thread, which could be blocked waiting on us.
    return OwnedMessageBox(GetActiveWindow(), text, app ? app->Title() : "Tavik_DI", style);
}
