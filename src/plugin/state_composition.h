// Building a controller state word from one device snapshot and a mapping.
#pragma once

#include "config/controller_config.h"
#include "config/joystick_codes.h"
#include "plugin/button_state.h"
#include "input/joystick_snapshot.h"

ButtonState ComposeFromKeyboard(const ControllerConfig& record, const KeyboardSnapshot& keys);
ButtonState ComposeFromJoystick(const ControllerConfig& record, const JoystickSnapshot& joystick);

// A joystick code reads as pressed: a button by bit 7 of its byte; an axis direction once the axis
// is past half of `range` that way; a hat direction when the hat points within 45 degrees of it,
// so that a diagonal presses both neighbours. Any other code never does.
bool IsJoystickInputDown(const JoystickSnapshot& joystick, int32_t code, int32_t range);
int32_t AxisValue(const JoystickSnapshot& joystick, JoystickAxis axis);
