// The DirectInput object and the table of keyboards and joysticks found by enumeration.
#pragma once

#include "framework/com_ptr.h"
#include "input/direct_input.h"

#include <atomic>
#include <cstdint>

enum DeviceKind : int32_t { DeviceNone = 0, DeviceKeyboard = 1, DeviceJoystick = 2 };

inline constexpr int kMaxDevices = 20;
inline constexpr size_t kDeviceNameSize = 260;

struct DeviceSlot {
    ComPtr<IDirectInputDevice7A> device;  // null when the slot is empty
    GUID instanceGuid{};
    DeviceKind kind = DeviceNone;
    char name[kDeviceNameSize] = {};  // kept after release; `device` and `kind` say if the slot is used
};

struct DeviceTable {
    DeviceSlot slots[kMaxDevices];
    ComPtr<IDirectInput7A> directInput;
    bool created = false;
};

// What a dialog lists: the table's devices without the devices themselves, so it never shares
// the objects the polls read.
struct ListedDevice {
    GUID instanceGuid{};
    DeviceKind kind = DeviceNone;  // DeviceNone: the slot is empty
    char name[kDeviceNameSize] = {};
    bool xinputTwin = false;  // an XInput pad seen through DirectInput
};
struct DeviceListing {
    ListedDevice slots[kMaxDevices];
};
DeviceListing ListDevices(const DeviceTable& table);

// The set-up failures a build can meet, one bit each, in the order a build meets them; each bit
// stands for one box text.
enum DeviceError : uint32_t {
    ErrorDirectInputCreate = 1u << 0,
    ErrorCreateKeyboard = 1u << 1,
    ErrorKeyboardDataFormat = 1u << 2,
    ErrorKeyboardCooperativeLevel = 1u << 3,
    ErrorCreateJoystick = 1u << 4,
    ErrorJoystickDataFormat = 1u << 5,
    ErrorJoystickCooperativeLevel = 1u << 6,
    ErrorJoystickRangeX = 1u << 7,
    ErrorJoystickRangeY = 1u << 8,
    ErrorNoDevice = 1u << 9,
};
using DeviceErrors = uint32_t;

// Builds the table once, setting the devices up against `window`; does nothing while it exists.
// Shows nothing: the failures met are returned, for ShowDeviceErrors once the table is complete.
DeviceErrors CreateDevices(DeviceTable& table, HWND window);
// Devices are built unacquired, since DirectInput takes property changes only then; this acquires
// every device of the table.
void AcquireDevices(const DeviceTable& table);
// Releases every device and the DirectInput object; the next CreateDevices enumerates afresh.
void ReleaseDevices(DeviceTable& table);
// For a process that is ending: forgets every device without calling DirectInput, whose own threads
// are already gone, so that nothing released later can wait on them.
void AbandonDevices(DeviceTable& table);

// Shows each of `errors` that `shown` does not hold yet, and adds it there: a failure that stays
// is reported once, not on every build. Device errors go under "Tavik_DI Error!", owned by `owner`.
void ShowDeviceErrors(DeviceErrors errors, HWND owner, std::atomic<DeviceErrors>& shown);
