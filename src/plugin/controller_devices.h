// The tuning and slot of each controller's device once the polls' table is built.
#pragma once

#include "input/device_table.h"

// Run each time the polls' table is built: a controller whose device now sits in another slot
// (another pad came first in the enumeration) follows it, and each joystick gets the range and dead
// zone of the first controller reading it, while the devices are unacquired. Setting them is silent:
// a device may lack a property.
void PrepareControllerDevices(DeviceTable& table);
