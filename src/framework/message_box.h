// The application message box: OK only, captioned with the application title.
#pragma once

#include <windows.h>

void AppMessageBox(const char* text);
// A box with its own caption, owned by `owner` (may be null).
void OwnedMessageBox(HWND owner, const char* text, const char* caption);
