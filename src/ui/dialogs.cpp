#include "ui/dialogs.h"

// The dialogs themselves are not built yet; until then the entry points only do their device work.
void ShowConfigDialog(HWND) {}
void ShowTestDialog(HWND) {}
void ShowAboutDialog(HWND) {}
