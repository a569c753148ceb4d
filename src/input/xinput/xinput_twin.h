// Telling an XInput pad among the DirectInput joysticks. Windows shows every XInput pad through
// DirectInput too, as a HID device whose path carries "IG_" (the XInput interface's mark).
#pragma once

#include "input/direct_input.h"

bool IsXInputTwin(IDirectInputDevice7A* device);
