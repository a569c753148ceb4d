// Reading one device of the table into a snapshot, re-acquiring a device found lost.
#pragma once

#include "input/device_table.h"
#include "input/joystick_snapshot.h"

// Each leaves its snapshot as it was (all released) when no read succeeds.
void ReadKeyboard(IDirectInputDevice7A* device, KeyboardSnapshot& keys);
void ReadJoystick(IDirectInputDevice7A* device, JoystickSnapshot& joystick);
