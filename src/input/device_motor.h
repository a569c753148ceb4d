// Which motor shakes a controller's pad: the one place that knows every kind of pad that can.
#pragma once

#include "input/device_table.h"
#include "input/motor.h"

#include <memory>

// The motor of the pad in `slot` at `strengthPercent` of its full force, or null when that pad
// cannot shake (a keyboard, a pad without force feedback): the game still sees its rumble pak.
std::unique_ptr<Motor> MakeDeviceMotor(const DeviceSlot& slot, int32_t strengthPercent);
