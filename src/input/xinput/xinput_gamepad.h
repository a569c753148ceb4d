// An XInput pad's state as the composition reads every pad: the standard joystick snapshot, laid
// out as Windows shows an XInput pad through DirectInput, so the pad layout and every mapping rule
// apply unchanged; only the two triggers get an axis each instead of sharing one.
#pragma once

#include "input/joystick_snapshot.h"

#include <cstdint>

// XINPUT_GAMEPAD, declared without <windows.h>; the Windows build checks it against the real one.
struct XInputGamepad {
    uint16_t buttons;
    uint8_t leftTrigger;
    uint8_t rightTrigger;
    int16_t thumbLX, thumbLY, thumbRX, thumbRY;  // negative: down or left
};
static_assert(sizeof(XInputGamepad) == 12);

namespace XInputButton {
inline constexpr uint16_t DPadUp = 0x0001, DPadDown = 0x0002, DPadLeft = 0x0004, DPadRight = 0x0008;
inline constexpr uint16_t Start = 0x0010, Back = 0x0020, LeftThumb = 0x0040, RightThumb = 0x0080;
inline constexpr uint16_t LeftShoulder = 0x0100, RightShoulder = 0x0200;
inline constexpr uint16_t A = 0x1000, B = 0x2000, X = 0x4000, Y = 0x8000;
}  // namespace XInputButton

// Where the snapshot puts the pad's inputs: buttons 0 A, 1 B, 2 X, 3 Y, 4 and 5 the shoulders,
// 6 Back, 7 Start, 8 and 9 the stick clicks (Windows' own numbering); the left stick on X/Y and the
// right one on Rx/Ry, both growing downwards as DirectInput's do; the left trigger on Z and the
// right one on Rz, at rest at 0; the d-pad as hat 0.
inline constexpr int kXInputButtonCount = 10;
extern const uint16_t kXInputButtonOrder[kXInputButtonCount];
// The axes a pad has (bit n = JoystickAxis n): the captures look at no other.
inline constexpr uint32_t kXInputAxes = 0x3F;

// Sticks and triggers scaled to -range..range (triggers 0..range), with `deadZone` percent of
// each around its rest reading as at rest, as DirectInput's own dead zone and range would give.
void ReadXInputSnapshot(const XInputGamepad& pad, int32_t range, int32_t deadZone, JoystickSnapshot& out);
