#include "framework/message_box.h"

#include "framework/application.h"

void OwnedMessageBox(HWND owner, const char* text, const char* caption) {
    MessageBoxA(owner, text, caption, MB_OK | MB_ICONWARNING);
}

void AppMessageBox(const char* text) {
    const Application* app = TheApplication();
    // Owned by the calling thread's active window, like a framework's application box: never by a
    // window of another thread, which could be blocked waiting on us.
    OwnedMessageBox(GetActiveWindow(), text, app ? app->Title() : "Tavik_DI");
}
