// How a mapping names an XInput pad: DIDevice 100..103 for pads 1..4. Every older build reads a
// device index outside the table's 0..19 as no device, and the DirectInput indexes stay as they were.
#pragma once

#include <cstdint>

inline constexpr int32_t kXInputDeviceBase = 100;
inline constexpr int32_t kXInputPadCount = 4;

// The pad (0..3) a DIDevice value names, or -1 when it names none.
constexpr int32_t XInputPadOf(int32_t device) {
    return device >= kXInputDeviceBase && device < kXInputDeviceBase + kXInputPadCount ? device - kXInputDeviceBase : -1;
}
constexpr int32_t XInputDeviceOf(int32_t pad) { return kXInputDeviceBase + pad; }
