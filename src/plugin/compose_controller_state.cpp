#include "plugin/compose_controller_state.h"

#include "input/device_reading.h"
#include "input/device_lookup.h"
#include "plugin/state_composition.h"

void ComposeControllerState(const DeviceTable* table, const ControllerConfig& record, ButtonState* out) {
    const int32_t index = record.DIDevice;
    if (!table || index < 0 || index >= kMaxDevices) return;

    const DeviceSlot& slot = table->slots[index];
    // A pad missing from the table reads idle, not as whichever device took its slot.
    if (!HoldsChosenDevice(slot.instanceGuid, record)) return;
    ButtonState state{};
    if (slot.device && slot.kind == DeviceKeyboard) {
        KeyboardSnapshot keys = {};
        ReadKeyboard(slot.device.Get(), keys);
        state = ComposeFromKeyboard(record, keys);
    } else if (slot.device && slot.kind == DeviceJoystick) {
        JoystickSnapshot joystick = {};
        ReadJoystick(slot.device.Get(), joystick);
        state = ComposeFromJoystick(record, joystick);
    }
    *out = state;
}
