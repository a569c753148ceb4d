// Reading one joystick input of a mapping (a button, an axis direction or a hat direction) from a
// snapshot: shared by the state composition and the capture of the mapping dialog.
#pragma once

#include "config/joystick_codes.h"
#include "input/joystick_snapshot.h"

#include <cstdint>

// A joystick code reads as pressed: a button by bit 7 of its byte; an axis direction once the axis
// is past half of `range` that way; a hat direction when the hat points within 45 degrees of it,
// so that a diagonal presses both neighbours. Any other code never does.
bool IsJoystickInputDown(const JoystickSnapshot& joystick, int32_t code, int32_t range);
int32_t AxisValue(const JoystickSnapshot& joystick, JoystickAxis axis);
