// The dialogs the host opens through the plug-in, each run modally with the host's parent window.
#pragma once

#include "ui/config_dialog.h"

#include <windows.h>

void ShowConfigDialog(HWND parent, const ConfigDialogData& data);
void ShowTestDialog(HWND parent);
void ShowAboutDialog(HWND parent);
