#include "config/controller_config.h"

#include "config/joystick_codes.h"

namespace {
// DirectInput keyboard scan codes used by the keyboard layout.
constexpr int32_t kDikUp = 0xC8, kDikDown = 0xD0, kDikLeft = 0xCB, kDikRight = 0xCD;
constexpr int32_t kDikHome = 0xC7, kDikEnd = 0xCF, kDikDelete = 0xD3, kDikNext = 0xD1;
constexpr int32_t kDikLShift = 0x2A, kDikLControl = 0x1D, kDikSpace = 0x39;
constexpr int32_t kDikNumpad8 = 0x48, kDikNumpad2 = 0x50, kDikNumpad4 = 0x4B, kDikNumpad6 = 0x4D;
constexpr int32_t kDikA = 0x1E, kDikS = 0x1F, kDikZ = 0x2C;
}  // namespace

void ResetControllerDevices(ControllerConfigs& controllers) {
    for (ControllerConfig& record : controllers) record.DIDevice = kNoDevice;
}

void ApplyKeyboardDefaults(ControllerConfig& r) {
    r.StickUp = kDikUp;
    r.StickDown = kDikDown;
    r.StickLeft = kDikLeft;
    r.StickRight = kDikRight;
    r.PadUp = kDikHome;
    r.PadDown = kDikEnd;
    r.PadLeft = kDikDelete;
    r.PadRight = kDikNext;
    r.ButtonA = kDikLShift;
    r.ButtonB = kDikLControl;
    r.ButtonUp = kDikNumpad8;
    r.ButtonDown = kDikNumpad2;
    r.ButtonLeft = kDikNumpad4;
    r.ButtonRight = kDikNumpad6;
    r.ButtonStart = kDikSpace;
    r.TriggerLeft = kDikA;
    r.TriggerRight = kDikS;
    r.TriggerZ = kDikZ;
}

namespace {
// A layout writes the 21 mapped fields; the device's tuning and identity, and the pak, stay.
void ClearMapping(ControllerConfig& r, int32_t deviceIndex) {
    const ControllerConfig kept = r;
    r = ControllerConfig{};  // the stick button fields stay 0: both selectors name axes
    r.DeadZone = kept.DeadZone;
    r.Range = kept.Range;
    r.Pak = kept.Pak;
    r.RumbleStrength = kept.RumbleStrength;
    r.DeviceGuid = kept.DeviceGuid;
    r.DIDevice = deviceIndex;
}
}  // namespace

void ApplyAdaptoidDefaults(ControllerConfig& r, int32_t deviceIndex) {
    ClearMapping(r, deviceIndex);
    r.StickUpDown = AxisYInverted;  // the pad's Y grows downwards, the N64 stick's upwards
    r.StickLeftRight = AxisX;
    r.PadUp = 10;
    r.PadDown = 11;
    r.PadLeft = 12;
    r.PadRight = 13;
    r.ButtonA = 0;
    r.ButtonB = 3;
    r.ButtonUp = 5;
    r.ButtonDown = 1;
    r.ButtonLeft = 4;
    r.ButtonRight = 2;
    r.ButtonStart = 8;
    r.TriggerLeft = 6;
    r.TriggerRight = 7;
    r.TriggerZ = 9;
}

// Windows' driver for XInput pads shows buttons 0 A, 1 B, 2 X, 3 Y, 4 LB, 5 RB, 6 Back, 7 Start,
// the left stick on X/Y, the right stick on Rx/Ry, both triggers on Z (left towards the maximum)
// and the D-pad as hat 0. Y and Ry grow downwards, the N64 stick upwards.
void ApplyPadDefaults(ControllerConfig& r, int32_t deviceIndex) {
    ClearMapping(r, deviceIndex);
    r.StickUpDown = AxisYInverted;
    r.StickLeftRight = AxisX;
    r.ButtonUp = AxisCode(JoystickAxisRy, false);
    r.ButtonDown = AxisCode(JoystickAxisRy, true);
    r.ButtonLeft = AxisCode(JoystickAxisRx, false);
    r.ButtonRight = AxisCode(JoystickAxisRx, true);
    r.PadUp = HatCode(0, HatUp);
    r.PadRight = HatCode(0, HatRight);
    r.PadDown = HatCode(0, HatDown);
    r.PadLeft = HatCode(0, HatLeft);
    r.ButtonA = 0;
    r.ButtonB = 2;
    r.TriggerZ = AxisCode(JoystickAxisZ, true);
    r.TriggerLeft = 4;
    r.TriggerRight = 5;
    r.ButtonStart = 7;
}

int32_t EffectiveDeadZone(const ControllerConfig& r) {
    return r.DeadZone >= kDeadZoneMin && r.DeadZone <= kDeadZoneMax ? r.DeadZone : kDeadZoneDefault;
}

int32_t EffectiveRange(const ControllerConfig& r) {
    return r.Range >= kRangeMin && r.Range <= kRangeMax ? r.Range : kRangeDefault;
}

int32_t EffectiveRumbleStrength(const ControllerConfig& r) {
    return r.RumbleStrength >= kRumbleStrengthMin && r.RumbleStrength <= kRumbleStrengthMax ? r.RumbleStrength
                                                                                          : kRumbleStrengthDefault;
}

PakSetting EffectivePak(const ControllerConfig& r) {
    return r.Pak >= PakNone && r.Pak <= PakTransfer ? static_cast<PakSetting>(r.Pak) : PakNone;
}

ControllerConfig* MappingForPlayer(ControllerConfigs& controllers, int32_t playAs) {
    if (playAs < 0 || playAs >= kControllerCount) return nullptr;
    return &controllers[playAs];
}

const ConfigField kStoredFieldOrder[kConfigFieldCount] = {
    {"DIDevice", &ControllerConfig::DIDevice},
    {"StickUpDown", &ControllerConfig::StickUpDown},
    {"StickLeftRight", &ControllerConfig::StickLeftRight},
    {"StickUp", &ControllerConfig::StickUp},
    {"StickDown", &ControllerConfig::StickDown},
    {"StickLeft", &ControllerConfig::StickLeft},
    {"StickRight", &ControllerConfig::StickRight},
    {"TriggerLeft", &ControllerConfig::TriggerLeft},
    {"TriggerRight", &ControllerConfig::TriggerRight},
    {"TriggerZ", &ControllerConfig::TriggerZ},
    {"ButtonA", &ControllerConfig::ButtonA},
    {"ButtonB", &ControllerConfig::ButtonB},
    {"ButtonStart", &ControllerConfig::ButtonStart},
    {"ButtonUp", &ControllerConfig::ButtonUp},
    {"ButtonDown", &ControllerConfig::ButtonDown},
    {"ButtonLeft", &ControllerConfig::ButtonLeft},
    {"ButtonRight", &ControllerConfig::ButtonRight},
    {"PadUp", &ControllerConfig::PadUp},
    {"PadDown", &ControllerConfig::PadDown},
    {"PadLeft", &ControllerConfig::PadLeft},
    {"PadRight", &ControllerConfig::PadRight},
};

const TuningField kTuningFields[kTuningFieldCount] = {
    {"DeadZone", &ControllerConfig::DeadZone, kDeadZoneDefault},
    {"Range", &ControllerConfig::Range, kRangeDefault},
    {"Pak", &ControllerConfig::Pak, PakNone},
    {"RumbleStrength", &ControllerConfig::RumbleStrength, kRumbleStrengthDefault},
};
