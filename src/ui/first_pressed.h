// Finding the key or joystick input a capture takes from a device snapshot.
#pragma once

#include "input/joystick_snapshot.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// The lowest index whose byte reads as held (bit 7), or -1 when none does.
inline int FirstPressed(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (bytes[i] & 0x80) return static_cast<int>(i);
    return -1;
}

// The code of the joystick input a capture takes from `now`, in this order: the lowest button held;
// an axis among `axes` (bit n = JoystickAxis n) pushed past half of `range` away from where it was
// at `rest`, and past half deflection that way, so the code reads as pressed when composed; a hat
// pointing somewhere (up before right, down, left; hat 0 first). Axes resting off centre, such as a
// trigger, are taken only when they move.
std::optional<int32_t> FirstJoystickInput(const JoystickSnapshot& rest, const JoystickSnapshot& now, int32_t range,
                                          uint32_t axes);
