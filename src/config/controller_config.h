// One N64 controller's mapping: which device it reads and which key, button or axis drives each
// control. Field names are also the names of the stored registry values.
#pragma once

#include <cstdint>

struct ControllerConfig {
    int32_t DIDevice;  // device table index 0..19, -1 = no device
    int32_t StickUp;
    int32_t StickDown;
    int32_t StickLeft;
    int32_t StickRight;
    int32_t StickUpDown;     // AxisSelector for the stick's Y
    int32_t StickLeftRight;  // AxisSelector for the stick's X
    int32_t PadUp;
    int32_t PadDown;
    int32_t PadLeft;
    int32_t PadRight;
    int32_t ButtonA;
    int32_t ButtonB;
    int32_t ButtonUp;
    int32_t ButtonDown;
    int32_t ButtonLeft;
    int32_t ButtonRight;
    int32_t ButtonStart;
    int32_t TriggerLeft;
    int32_t TriggerRight;
    int32_t TriggerZ;
};
static_assert(sizeof(ControllerConfig) == 21 * 4, "21 signed 32-bit fields");

// Where a joystick stick byte comes from. 6 and -1 both mean "use the stick buttons": the dialog
// stores 6, older stored settings may hold -1.
enum AxisSelector : int32_t {
    AxisX = 0,
    AxisXInverted = 1,
    AxisY = 2,
    AxisYInverted = 3,
    AxisZ = 4,
    AxisZInverted = 5,
    UseButtons = 6,
    UseButtonsStored = -1,
};

inline constexpr int kControllerCount = 4;
inline constexpr int32_t kNoDevice = -1;

using ControllerConfigs = ControllerConfig[kControllerCount];

// Load-time state: no controller reads a device; every other field is left alone.
void ResetControllerDevices(ControllerConfigs& controllers);
// Writes the 18 key fields; DIDevice and both selectors are kept.
void ApplyKeyboardDefaults(ControllerConfig& record);
// Writes all 21 fields for an Adaptoid pad read as joystick `deviceIndex`.
void ApplyAdaptoidDefaults(ControllerConfig& record, int32_t deviceIndex);

// The mapping a netplay player plays with, or null when `playAs` names none of the four: an
// out-of-range value from the registry must never index the table.
ControllerConfig* MappingForPlayer(ControllerConfigs& controllers, int32_t playAs);

// The 21 fields in the order they are stored and read.
struct ConfigField {
    const char* name;
    int32_t ControllerConfig::*member;
};
inline constexpr int kConfigFieldCount = 21;
extern const ConfigField kStoredFieldOrder[kConfigFieldCount];
