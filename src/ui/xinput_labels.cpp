#include "ui/xinput_labels.h"

#include "config/controller_config.h"
#include "config/joystick_codes.h"
#include "input/xinput/xinput_gamepad.h"

// The snapshot's Y axes grow downwards, so the pad's own "Left stick Y" is the inverted axis.
const AxisChoice kXInputAxisChoices[kXInputAxisChoiceCount] = {
    {"Left stick X", AxisX},   {"Inversed Left stick X", AxisXInverted},
    {"Left stick Y", AxisYInverted}, {"Inversed Left stick Y", AxisY},
    {"Right stick X", AxisRx}, {"Inversed Right stick X", AxisRxInverted},
    {"Right stick Y", AxisRyInverted}, {"Inversed Right stick Y", AxisRy},
    {kUseButtonsChoice, UseButtons},
};

namespace {

constexpr const char* kButtonNames[kXInputButtonCount] = {
    "XInput A", "XInput B", "XInput X", "XInput Y", "XInput LB", "XInput RB",
    "XInput Back", "XInput Start", "XInput LS", "XInput RS",
};

struct NamedCode {
    int32_t code;
    const char* name;
};
constexpr NamedCode kAxisAndHatNames[] = {
    {AxisCode(JoystickAxisX, false), "Left stick X-"},  {AxisCode(JoystickAxisX, true), "Left stick X+"},
    {AxisCode(JoystickAxisY, false), "Left stick Y+"},  {AxisCode(JoystickAxisY, true), "Left stick Y-"},
    {AxisCode(JoystickAxisRx, false), "Right stick X-"}, {AxisCode(JoystickAxisRx, true), "Right stick X+"},
    {AxisCode(JoystickAxisRy, false), "Right stick Y+"}, {AxisCode(JoystickAxisRy, true), "Right stick Y-"},
    {AxisCode(JoystickAxisZ, true), "Left trigger"},    {AxisCode(JoystickAxisRz, true), "Right trigger"},
    {HatCode(0, HatUp), "D-pad Up"},     {HatCode(0, HatRight), "D-pad Right"},
    {HatCode(0, HatDown), "D-pad Down"}, {HatCode(0, HatLeft), "D-pad Left"},
};

}  // namespace

std::string XInputLabel(int32_t code) {
    if (code >= 0 && code < kXInputButtonCount) return kButtonNames[code];
    for (const NamedCode& named : kAxisAndHatNames)
        if (named.code == code) return named.name;
    return ButtonLabel(code);
}
