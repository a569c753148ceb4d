// Building a controller state word from one device snapshot and a mapping.
#pragma once

#include "config/controller_config.h"
#include "config/joystick_codes.h"
#include "input/button_state.h"
#include "input/joystick_inputs.h"
#include "input/joystick_snapshot.h"

ButtonState ComposeFromKeyboard(const ControllerConfig& record, const KeyboardSnapshot& keys);
ButtonState ComposeFromJoystick(const ControllerConfig& record, const JoystickSnapshot& joystick);

