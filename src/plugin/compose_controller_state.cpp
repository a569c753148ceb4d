#include "plugin/compose_controller_state.h"

#include "input/read_with_reacquire.h"
#include "plugin/plugin_state.h"
#include "plugin/state_composition.h"

namespace {

void ReadSnapshot(IDirectInputDevice7A* device, void* snapshot, DWORD size) {
    ReadWithReacquire([&] { return static_cast<int32_t>(device->GetDeviceState(size, snapshot)); },
                      [&] { return static_cast<int32_t>(device->Acquire()); });
}

}  // namespace

void ComposeControllerState(const ControllerConfig& record, ButtonState* out) {
    const int32_t index = record.DIDevice;
    if (index < 0 || index >= kMaxDevices) return;

    const DeviceSlot& slot = pluginState.devices.slots[index];
    ButtonState state{};
    if (slot.device && slot.kind == DeviceKeyboard) {
        KeyboardSnapshot keys = {};  // stays all released when no read succeeds
        ReadSnapshot(slot.device.Get(), keys, sizeof keys);
        state = ComposeFromKeyboard(record, keys);
    } else if (slot.device && slot.kind == DeviceJoystick) {
        slot.device->Poll();
        JoystickSnapshot joystick = {};
        ReadSnapshot(slot.device.Get(), &joystick, sizeof joystick);
        state = ComposeFromJoystick(record, joystick);
    }
    *out = state;
}
