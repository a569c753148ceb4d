#include "input/device_motor.h"

#include "input/force_feedback_motor.h"
#include "input/xinput/xinput_motor.h"

std::unique_ptr<Motor> MakeDeviceMotor(const DeviceSlot& slot, int32_t strengthPercent) {
    // Each kind of pad makes its own motor here, and the controllers' motors never ask which kind
    // they run.
    if (slot.kind == DeviceXInputPad) return MakeXInputMotor(slot, strengthPercent);
    if (!slot.device) return nullptr;
    if (slot.kind == DeviceJoystick) return ForceFeedbackMotor::Make(slot.device.Get(), strengthPercent);
    return nullptr;
}
