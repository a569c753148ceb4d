#include "ui/keyboard_dialog.h"

#include "ui/input_capture.h"
#include "ui/key_name.h"
#include "ui/mapping_rows.h"

KeyboardDialog::KeyboardDialog(HWND parent) : Dialog(IDD_KEYBOARD, parent) {}

bool KeyboardDialog::OnInit() {
    RefreshKeyLabels();
    return true;
}

bool KeyboardDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return false;
    if (id == IDC_SET_DEFAULTS) {
        ApplyKeyboardDefaults(*config);
        RefreshKeyLabels();
        return true;
    }
    const MappingRow* row = MappingRowOf(id);
    if (!row) return false;
    // A capture that timed out leaves the key as it was.
    if (const std::optional<int32_t> key = CaptureKey(Handle(), id)) config->*row->field = *key;
    RefreshKeyLabels();
    return true;
}

void KeyboardDialog::RefreshKeyLabels() {
    for (const MappingRow& row : kMappingRows) Item(row.buttonId + 1).SetText(KeyName(config->*row.field).c_str());
}
