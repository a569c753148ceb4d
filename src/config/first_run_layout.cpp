#include "config/first_run_layout.h"

bool IsNeverMapped(const ControllerConfig& record) {
    for (const ConfigField& field : kStoredFieldOrder) {
        const bool codeField = field.member != &ControllerConfig::DIDevice &&
                               field.member != &ControllerConfig::StickUpDown &&
                               field.member != &ControllerConfig::StickLeftRight;
        if (codeField && record.*field.member != 0) return false;
    }
    return true;
}

void ApplyJoystickStartLayout(ControllerConfig& record) { ApplyPadDefaults(record, record.DIDevice); }

bool ApplyFirstRunLayout(ControllerConfig& record, LayoutKind kind) {
    if (!IsNeverMapped(record)) return false;
    if (kind == LayoutKind::Keyboard)
        ApplyKeyboardDefaults(record);
    else
        ApplyJoystickStartLayout(record);
    return true;
}
