// Reading one key or joystick button press for the mapping dialogs, each capture through a
// DirectInput object and device of its own.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// How long a capture waits for a press before it gives up and leaves the mapping as it was.
inline constexpr DWORD kCaptureTimeoutMs = 10000;

// The key code of the first key down on the system keyboard. 0 when DirectInput cannot be set up
// (after a box saying which call failed); nothing when no key came in time. `buttonId` is the
// clicked button, disabled meanwhile.
std::optional<int32_t> CaptureKey(HWND dialog, int buttonId);
// The same for an input of the joystick with instance `device`: a button, an axis direction or a
// hat direction, as a mapping code; axes read with the full deflection `range`.
std::optional<int32_t> CaptureJoystickInput(HWND dialog, int buttonId, const GUID& device, int32_t range);
// The same for XInput pad `pad` (0..3), read through XInput itself; nothing when no XInput library
// is present.
std::optional<int32_t> CaptureXInputInput(HWND dialog, int buttonId, int32_t pad, int32_t range);
