// Reading one device of the table into a snapshot, re-acquiring a device found lost.
#pragma once

#include "input/device_table.h"
#include "input/joystick_snapshot.h"

// A device that could not be read (unplugged, asleep, held by another program) reads idle.
void ReadKeyboard(IDirectInputDevice7A* device, KeyboardSnapshot& keys);
void ReadJoystick(IDirectInputDevice7A* device, JoystickSnapshot& joystick);
