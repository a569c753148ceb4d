// The dialogs the host opens through the plug-in, each run modally with the host's parent window.
#pragma once

#include <windows.h>

void ShowConfigDialog(HWND parent);
void ShowTestDialog(HWND parent);
void ShowAboutDialog(HWND parent);
