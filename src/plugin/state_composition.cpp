#include "plugin/state_composition.h"

namespace {

struct ButtonField {
    int32_t ControllerConfig::*member;
    uint16_t bit;
};

constexpr ButtonField kButtonFields[] = {
    {&ControllerConfig::PadRight, ButtonBit::PadRight},
    {&ControllerConfig::PadLeft, ButtonBit::PadLeft},
    {&ControllerConfig::PadDown, ButtonBit::PadDown},
    {&ControllerConfig::PadUp, ButtonBit::PadUp},
    {&ControllerConfig::ButtonStart, ButtonBit::Start},
    {&ControllerConfig::TriggerZ, ButtonBit::TriggerZ},
    {&ControllerConfig::ButtonB, ButtonBit::B},
    {&ControllerConfig::ButtonA, ButtonBit::A},
    {&ControllerConfig::ButtonRight, ButtonBit::CRight},
    {&ControllerConfig::ButtonLeft, ButtonBit::CLeft},
    {&ControllerConfig::ButtonDown, ButtonBit::CDown},
    {&ControllerConfig::ButtonUp, ButtonBit::CUp},
    {&ControllerConfig::TriggerLeft, ButtonBit::TriggerLeft},
    {&ControllerConfig::TriggerRight, ButtonBit::TriggerRight},
};

constexpr uint8_t kDownBit = 0x80;

// Codes come from the registry unchecked, so every index is range-tested before use.
template <size_t N>
bool IsDown(const uint8_t (&states)[N], int32_t code) {
    return code >= 0 && code < static_cast<int32_t>(N) && (states[code] & kDownBit) != 0;
}

// Stick byte from the stick buttons: the later direction wins when both are held.
template <size_t N>
int8_t StickFromButtons(const uint8_t (&states)[N], int32_t negative, int32_t positive, bool positiveWins) {
    int8_t value = 0;
    if (positiveWins) {
        if (IsDown(states, negative)) value = -kFullDeflection;
        if (IsDown(states, positive)) value = kFullDeflection;
    } else {
        if (IsDown(states, positive)) value = kFullDeflection;
        if (IsDown(states, negative)) value = -kFullDeflection;
    }
    return value;
}

uint16_t KeyBits(const ControllerConfig& record, const KeyboardSnapshot& keys) {
    uint16_t bits = 0;
    for (const ButtonField& field : kButtonFields)
        if (IsDown(keys, record.*field.member)) bits |= field.bit;
    return bits;
}

uint16_t JoystickBits(const ControllerConfig& record, const JoystickSnapshot& joystick) {
    const int32_t range = EffectiveRange(record);
    uint16_t bits = 0;
    for (const ButtonField& field : kButtonFields)
        if (IsJoystickInputDown(joystick, record.*field.member, range)) bits |= field.bit;
    return bits;
}

int8_t LowByte(int32_t axis, bool negate) {
    const auto low = static_cast<uint8_t>(axis);
    return static_cast<int8_t>(negate ? static_cast<uint8_t>(-low) : low);
}

}  // namespace

ButtonState ComposeFromKeyboard(const ControllerConfig& r, const KeyboardSnapshot& keys) {
    ButtonState state{};
    // Up then down, left then right: down and right win when both are held.
    state.stickY = StickFromButtons(keys, r.StickDown, r.StickUp, false);
    state.stickX = StickFromButtons(keys, r.StickLeft, r.StickRight, true);
    state.buttons = KeyBits(r, keys);
    return state;
}

namespace {
int8_t StickFromJoystick(int32_t selector, const JoystickSnapshot& j, int32_t negativeButton, int32_t positiveButton,
                         bool positiveWins) {
    if (SelectorUsesButtons(selector)) return StickFromButtons(j.buttons, negativeButton, positiveButton, positiveWins);
    SelectedAxis selected;
    if (!SelectorAxis(selector, selected)) return 0;
    return LowByte(AxisValue(j, selected.axis), selected.inverted);
}
}  // namespace

ButtonState ComposeFromJoystick(const ControllerConfig& r, const JoystickSnapshot& j) {
    ButtonState state{};
    state.stickX = StickFromJoystick(r.StickLeftRight, j, r.StickLeft, r.StickRight, true);
    state.stickY = StickFromJoystick(r.StickUpDown, j, r.StickDown, r.StickUp, false);
    state.buttons = JoystickBits(r, j);
    return state;
}
