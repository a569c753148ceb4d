#include "ui/dialogs.h"

#include "ui/about_dialog.h"
#include "ui/config_dialog.h"
#include "ui/test_dialog.h"

// The host's window is only the parent: the dialogs neither keep nor destroy it.
void ShowConfigDialog(HWND parent, const ConfigDialogData& data) { ConfigDialog(parent, data).DoModal(); }
void ShowTestDialog(HWND parent) { TestDialog(parent).DoModal(); }
void ShowAboutDialog(HWND parent) { AboutDialog(parent).DoModal(); }
