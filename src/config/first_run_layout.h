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

// Gives the built-in layout of its device's kind to a record that is never mapped, or that still
// holds exactly a built-in layout of the other kind (a player who tried the keyboard first, then
// chose the pad); keeps its DIDevice. A record the player edited is left as it is. Returns whether
// the layout was applied.
bool ApplyFirstRunLayout(ControllerConfig& record, LayoutKind kind);
