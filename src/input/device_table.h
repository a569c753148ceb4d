// The DirectInput object and the table of keyboards and joysticks found by enumeration.
#pragma once

#include "framework/com_ptr.h"
#include "input/direct_input.h"

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

// Builds the table once; does nothing while it exists.
void CreateDevices();
// Releases every device and the DirectInput object; the next CreateDevices enumerates afresh.
void ReleaseDevices();
void ClearDeviceTable();
// For a process that is ending: forgets every device without calling DirectInput, whose own threads
// are already gone, so that nothing released later can wait on them.
void AbandonDevices();
// A device error box: the text under "Tavik_DI Error!", owned by the host window.
void ShowDeviceError(const char* text);
