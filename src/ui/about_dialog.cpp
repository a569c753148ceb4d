#include "ui/about_dialog.h"

#include "framework/application.h"
#include "resources/resource_ids.h"

AboutDialog::AboutDialog(HWND parent) : Dialog(IDD_ABOUT, parent) {}

bool AboutDialog::OnInit() {
    char text[256];
    LoadModuleString(IDS_VERSION_TEXT, text);
    if (text[0]) Item(IDC_ABOUT_VERSION).SetText(text);
    return true;
}
