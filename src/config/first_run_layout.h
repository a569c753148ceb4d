// What a controller starts with when it is given a device before anything was ever mapped: a
// player choosing a device on a first run can play at once.
#pragma once

#include "config/controller_config.h"

// The kinds of device that have a built-in layout.
enum class LayoutKind { Keyboard, Joystick };

// True when all 18 key and button fields are 0: the state of a controller with no stored settings.
// Saved settings always hold a code in some field, since loading fills in the keyboard layout.
bool IsNeverMapped(const ControllerConfig& record);

// The layout a never-mapped controller takes on a joystick: the two-stick pad's, what most players hold.
void ApplyJoystickStartLayout(ControllerConfig& record);

// Gives a never-mapped record the built-in layout of its device's kind and keeps its DIDevice; a
// record with any mapping is left as it is. Returns whether the layout was applied.
bool ApplyFirstRunLayout(ControllerConfig& record, LayoutKind kind);
