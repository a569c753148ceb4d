#include "plugin/compose_controller_state.h"

#include "input/device_reading.h"
#include "input/device_lookup.h"
#include "plugin/plugin_state.h"
#include "plugin/state_composition.h"

namespace {
// An XInput pad comes in as the same snapshot a joystick gives; a missing pad reads idle.
ButtonState ComposeFromXInputPad(int32_t pad, const ControllerConfig& record) {
    XInputGamepad gamepad;
    if (!pluginState.xinput.Read(pad, gamepad)) return ButtonState{};
    JoystickSnapshot joystick;
    ReadXInputSnapshot(gamepad, EffectiveRange(record), EffectiveDeadZone(record), joystick);
    return ComposeFromJoystick(record, joystick);
}
}  // namespace

void ComposeControllerState(const DeviceTable* table, const ControllerConfig& record, ButtonState* out) {
    const int32_t index = record.DIDevice;
    if (const int32_t pad = XInputPadOf(index); pad >= 0) {
        *out = ComposeFromXInputPad(pad, record);  // needs no DirectInput table
        return;
    }
    // A pad missing from the table reads idle, not as whichever device took its slot.
    const DeviceSlot* slot = ChosenSlot(table, record);
    if (!slot) return;
    ButtonState state{};
    if (slot->kind == DeviceKeyboard) {
        KeyboardSnapshot keys = {};
        ReadKeyboard(slot->device.Get(), keys);
        state = ComposeFromKeyboard(record, keys);
    } else if (slot->kind == DeviceJoystick) {
        JoystickSnapshot joystick = {};
        ReadJoystick(slot->device.Get(), joystick);
        state = ComposeFromJoystick(record, joystick);
    }
    *out = state;
}
