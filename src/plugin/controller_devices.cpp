#include "plugin/controller_devices.h"

#include "config/joystick_codes.h"
#include "input/axis_properties.h"
#include "input/device_lookup.h"
#include "plugin/controller_port.h"
#include "plugin/plugin_state.h"

void PrepareControllerDevices(DeviceTable& table) {
    bool tuned[kMaxDevices] = {};
    for (ControllerConfig& record : pluginState.controllers) {
        if (const int32_t moved = SlotOfDevice(table.slots, record.DeviceGuid); moved >= 0) record.DIDevice = moved;
        const int32_t index = record.DIDevice;
        if (index < 0 || index >= kMaxDevices || tuned[index]) continue;
        const DeviceSlot& slot = table.slots[index];
        if (!slot.device || slot.kind != DeviceJoystick || !HoldsChosenDevice(slot.instanceGuid, record)) continue;
        tuned[index] = true;
        // The table set up every axis with the default range and DirectInput's own dead zone of 0.
        const int32_t range = EffectiveRange(record), deadZone = EffectiveDeadZone(record);
        for (int axis = 0; axis < kJoystickAxisCount; ++axis) {
            if (range != kRangeDefault) SetAxisRange(slot.device.Get(), axis, range);
            if (deadZone != kDeadZoneDefault) SetAxisDeadZone(slot.device.Get(), axis, deadZone);
        }
    }
    PrepareRumblePads(table);
}
