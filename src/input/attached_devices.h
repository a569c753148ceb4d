// Which joysticks are attached, by instance, without creating any: the cheap question a running
// game asks about once a second to find a pad plugged in or out.
#pragma once

#include "input/device_table.h"

struct AttachedJoysticks {
    int count = 0;
    GUID instances[kMaxDevices]{};  // in enumeration order
};
bool operator==(const AttachedJoysticks& a, const AttachedJoysticks& b);

// Enumerates through `directInput`; false when the enumeration failed.
bool ReadAttachedJoysticks(IDirectInput7A* directInput, AttachedJoysticks& out);
// The joysticks a table holds, in their slots' order.
AttachedJoysticks JoysticksOf(const DeviceTable& table);
