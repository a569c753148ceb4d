// One N64 controller's mapping: which device it reads and which key, button or axis drives each
// control. Field names are also the names of the stored registry values.
#pragma once

#include "config/device_identity.h"
#include "input/motor.h"

#include <cstddef>
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
    // Added later, stored beside the 21 values above and unknown to older builds. Values outside
    // their range (a record never loaded holds 0) mean the defaults; see EffectiveDeadZone/Range.
    int32_t DeadZone;           // percent of full deflection, 0..50
    int32_t Range;              // full deflection of every joystick axis, 16..127
    int32_t Pak;                // PakSetting; see EffectivePak
    int32_t RumbleStrength = kRumbleStrengthDefault;  // percent of the pad's full force, 0..100
    DeviceIdentity DeviceGuid;  // the chosen device's instance; none: DIDevice alone names it
};
static_assert(offsetof(ControllerConfig, DeadZone) == 21 * 4, "the 21 signed 32-bit fields come first");

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

// Whether the selector leaves the axis to its two stick-direction buttons (6, or -1 from storage).
constexpr bool SelectorUsesButtons(int32_t selector) { return selector == UseButtons || selector == UseButtonsStored; }

inline constexpr int kControllerCount = 4;
inline constexpr int32_t kNoDevice = -1;

using ControllerConfigs = ControllerConfig[kControllerCount];

// Load-time state: no controller reads a device; every other field is left alone.
void ResetControllerDevices(ControllerConfigs& controllers);
// Writes the 18 key fields; DIDevice and both selectors are kept.
void ApplyKeyboardDefaults(ControllerConfig& record);
// Writes the 21 fields for an Adaptoid pad read as joystick `deviceIndex`; dead zone, range and
// device identity are kept.
void ApplyAdaptoidDefaults(ControllerConfig& record, int32_t deviceIndex);
// The same for a two-stick pad (an XInput pad as DirectInput presents it): left stick to the stick,
// right stick to the C buttons, hat to the D-pad, left trigger to Z.
void ApplyPadDefaults(ControllerConfig& record, int32_t deviceIndex);

inline constexpr int32_t kDeadZoneDefault = 0, kDeadZoneMin = 0, kDeadZoneMax = 50;
inline constexpr int32_t kRangeDefault = 64, kRangeMin = 16, kRangeMax = 127;
// The dead zone and range a record asks for; a value outside its bounds means the default.
int32_t EffectiveDeadZone(const ControllerConfig& record);
int32_t EffectiveRange(const ControllerConfig& record);

inline constexpr int32_t kRumbleStrengthMin = 0, kRumbleStrengthMax = 100;
int32_t EffectiveRumbleStrength(const ControllerConfig& record);

// What is inserted in a controller. The host learns it at InitiateControllers.
enum PakSetting : int32_t { PakNone = 0, PakMemory = 1, PakRumble = 2, PakTransfer = 3 };
// The pak a record asks for; a value outside the four means none.
PakSetting EffectivePak(const ControllerConfig& record);

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

// Values stored after those 21, which older builds never read. A missing one means its default.
struct TuningField {
    const char* name;
    int32_t ControllerConfig::*member;
    int32_t defaultValue;
};
inline constexpr int kTuningFieldCount = 4;
extern const TuningField kTuningFields[kTuningFieldCount];
inline constexpr const char* kDeviceGuidValue = "DeviceGuid";
