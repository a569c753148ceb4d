// Range and dead zone of one joystick axis, set through DirectInput's own properties so that the
// device reports values ready for use and a poll does no arithmetic of its own.
#pragma once

#include "input/direct_input.h"

#include <cstdint>

// `axis` is a JoystickAxis (its offset in the standard joystick state); values run -range..range.
HRESULT SetAxisRange(IDirectInputDevice7A* device, int axis, int32_t range);
// `percent` of the full deflection around the centre reads as centred.
HRESULT SetAxisDeadZone(IDirectInputDevice7A* device, int axis, int32_t percent);
