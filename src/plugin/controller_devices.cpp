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
        const DeviceSlot* slot = ChosenSlot(&table, record);
        if (!slot || slot->kind != DeviceJoystick || tuned[record.DIDevice]) continue;
        tuned[record.DIDevice] = true;
        // The table set up every axis with the default range and DirectInput's own dead zone of 0.
        const int32_t range = EffectiveRange(record), deadZone = EffectiveDeadZone(record);
        for (int axis = 0; axis < kJoystickAxisCount; ++axis) {
            if (range != kRangeDefault) SetAxisRange(slot->device.Get(), axis, range);
            if (deadZone != kDeadZoneDefault) SetAxisDeadZone(slot->device.Get(), axis, deadZone);
        }
    }
    PrepareRumblePads(table);
}
