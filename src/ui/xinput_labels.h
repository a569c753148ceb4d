// What the mapping dialog shows for an XInput pad: the pad's own names for its inputs and for the
// stick axes, over the same codes and selectors a joystick uses.
#pragma once

#include "ui/joystick_labels.h"

#include <cstdint>
#include <string>

// "XInput A", "Left trigger", "Right stick X+", "D-pad Up"; a stick's Y counts up as +, as XInput
// does. Codes the pad has no input for are shown as on a joystick.
std::string XInputLabel(int32_t code);

// The axis list of an XInput pad: both sticks, each also inverted, and the stick buttons.
inline constexpr int kXInputAxisChoiceCount = 9;
extern const AxisChoice kXInputAxisChoices[kXInputAxisChoiceCount];
