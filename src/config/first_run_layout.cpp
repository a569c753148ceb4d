#include "config/first_run_layout.h"

namespace {

bool IsMappingField(const ConfigField& field) { return field.member != &ControllerConfig::DIDevice; }

// Whether `apply` leaves the key, button and selector fields of `record` as they are.
template <typename Apply>
bool HoldsLayout(const ControllerConfig& record, Apply apply) {
    ControllerConfig layout = record;
    apply(layout);
    for (const ConfigField& field : kStoredFieldOrder)
        if (IsMappingField(field) && layout.*field.member != record.*field.member) return false;
    return true;
}

bool HoldsKeyboardLayout(const ControllerConfig& record) { return HoldsLayout(record, ApplyKeyboardDefaults); }

bool HoldsJoystickLayout(const ControllerConfig& record) {
    return HoldsLayout(record, [](ControllerConfig& r) { ApplyPadDefaults(r, r.DIDevice); }) ||
           HoldsLayout(record, [](ControllerConfig& r) { ApplyAdaptoidDefaults(r, r.DIDevice); });
}

}  // namespace

bool IsNeverMapped(const ControllerConfig& record) {
    for (const ConfigField& field : kStoredFieldOrder) {
        const bool codeField = IsMappingField(field) && field.member != &ControllerConfig::StickUpDown &&
                               field.member != &ControllerConfig::StickLeftRight;
        if (codeField && record.*field.member != 0) return false;
    }
    return true;
}

void ApplyJoystickStartLayout(ControllerConfig& record) { ApplyPadDefaults(record, record.DIDevice); }

bool ApplyFirstRunLayout(ControllerConfig& record, LayoutKind kind) {
    const bool keyboard = kind == LayoutKind::Keyboard;
    // A layout the player never touched, built for the other kind, would leave the new device dead.
    const bool otherKindsLayout = keyboard ? HoldsJoystickLayout(record) : HoldsKeyboardLayout(record);
    if (!IsNeverMapped(record) && !otherKindsLayout) return false;
    if (keyboard)
        ApplyKeyboardDefaults(record);
    else
        ApplyJoystickStartLayout(record);
    return true;
}
