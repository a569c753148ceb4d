// Which motor shakes a controller's pad: the one place that knows every kind of pad that can.
#pragma once

#include "input/direct_input.h"
#include "input/motor.h"

#include <cstdint>
#include <memory>

// The pad a controller's motor shakes: a joystick of the polls' table, or an XInput pad (0..3).
// Equal handles name the same pad, so a motor is kept while its controller's handle stays.
struct MotorPad {
    IDirectInputDevice7A* joystick = nullptr;
    int32_t xinputPad = -1;
    bool operator==(const MotorPad&) const = default;
};

// The motor of `pad` at `strengthPercent` of its full force, or null when there is none or it
// cannot shake (a pad without force feedback): the game still sees its rumble pak.
std::unique_ptr<Motor> MakeDeviceMotor(const MotorPad& pad, int32_t strengthPercent);
