// The standard 80-byte DirectInput joystick state, declared without <windows.h> so that state
// composition can be tested natively. The Windows build checks it against DIJOYSTATE.
#pragma once

#include <cstddef>
#include <cstdint>

struct JoystickSnapshot {
    int32_t x, y, z;
    int32_t rx, ry, rz;
    int32_t sliders[2];
    uint32_t pov[4];
    uint8_t buttons[32];
};
static_assert(sizeof(JoystickSnapshot) == 80);
static_assert(offsetof(JoystickSnapshot, x) == 0 && offsetof(JoystickSnapshot, y) == 4 &&
              offsetof(JoystickSnapshot, z) == 8 && offsetof(JoystickSnapshot, sliders) == 24 &&
              offsetof(JoystickSnapshot, pov) == 32 && offsetof(JoystickSnapshot, buttons) == 48);

// What a joystick that could not be read stands for: nothing pressed, axes centred, and every hat
// centred, since a hat reading 0 points up.
inline constexpr JoystickSnapshot kIdleJoystick{0, 0, 0, 0, 0, 0, {0, 0}, {~0u, ~0u, ~0u, ~0u}, {}};

inline constexpr size_t kKeyboardSnapshotSize = 256;
using KeyboardSnapshot = uint8_t[kKeyboardSnapshotSize];
