#include "input/device_motor.h"

#include "input/force_feedback_motor.h"
#include "input/xinput/xinput_motor.h"

std::unique_ptr<Motor> MakeDeviceMotor(const MotorPad& pad, int32_t strengthPercent) {
    // Each kind of pad makes its own motor here, and the controllers' motors never ask which kind
    // they run.
    if (pad.xinputPad >= 0) return std::make_unique<XInputMotor>(pad.xinputPad, strengthPercent);
    if (pad.joystick) return ForceFeedbackMotor::Make(pad.joystick, strengthPercent);
    return nullptr;
}
