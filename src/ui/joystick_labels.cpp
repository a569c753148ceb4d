#include "ui/joystick_labels.h"

#include "config/controller_config.h"
#include "config/joystick_codes.h"

#include <cstdio>

const AxisChoice kAxisChoices[kAxisChoiceCount] = {
    {"Axe X", AxisX},
    {"Inversed Axe X", AxisXInverted},
    {"Axe Y", AxisY},
    {"Inversed Axe Y", AxisYInverted},
    {"Axe Z", AxisZ},
    {"Inversed Axe Z", AxisZInverted},
    {kUseButtonsChoice, UseButtons},
    {"Axe Rx", AxisRx},
    {"Inversed Axe Rx", AxisRxInverted},
    {"Axe Ry", AxisRy},
    {"Inversed Axe Ry", AxisRyInverted},
    {"Axe Rz", AxisRz},
    {"Inversed Axe Rz", AxisRzInverted},
    {"Axe Slider0", AxisSlider0},
    {"Inversed Axe Slider0", AxisSlider0Inverted},
    {"Axe Slider1", AxisSlider1},
    {"Inversed Axe Slider1", AxisSlider1Inverted},
};

int AxisChoicePosition(int32_t selector, const AxisChoice* choices, int count) {
    for (int position = 0; position < count; ++position)
        if (choices[position].selector == selector) return position;
    return -1;
}

namespace {
constexpr const char* kAxisNames[kJoystickAxisCount] = {"X", "Y", "Z", "Rx", "Ry", "Rz", "Slider0", "Slider1"};
constexpr const char* kHatDirections[kHatDirectionCount] = {"Up", "Right", "Down", "Left"};
}  // namespace

std::string ButtonLabel(int32_t code) {
    char text[24];
    const JoystickInput input = DecodeJoystickInput(code);
    if (input.kind == JoystickInputKind::Axis)
        std::snprintf(text, sizeof text, "Axis %s%c", kAxisNames[input.index], input.direction ? '+' : '-');
    else if (input.kind == JoystickInputKind::Hat)
        std::snprintf(text, sizeof text, "Hat %d %s", static_cast<int>(input.index), kHatDirections[input.direction]);
    else
        std::snprintf(text, sizeof text, "Button %2d", static_cast<int>(code));
    return text;
}
