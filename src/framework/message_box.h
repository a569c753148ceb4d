// The application message box, captioned with the application title.
#pragma once

#include <windows.h>

// Returns the button chosen (IDOK, IDYES, ...).
int AppMessageBox(const char* text, UINT style = MB_OK | MB_ICONWARNING);
// A box with its own caption, owned by `owner` (may be null). From a thread other than the
// owner's it is shown without owner, on top.
int OwnedMessageBox(HWND owner, const char* text, const char* caption, UINT style = MB_OK | MB_ICONWARNING);
