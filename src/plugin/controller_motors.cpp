#include "plugin/controller_motors.h"

#include <mutex>

void ControllerMotors::Run(int controller, const MotorPad& pad, int32_t strengthPercent, bool on) {
    if (controller < 0 || controller >= kControllerCount) return;
    const std::lock_guard<SlimLock> hold(lock_);
    Entry& entry = entries_[controller];
    if (entry.pad != pad || entry.strength != strengthPercent) {
        entry.motor.reset();  // stops it
        entry.pad = {};
        if (!on) {
            on_[controller] = false;
            return;  // made when the game first wants it
        }
        entry.motor = MakeDeviceMotor(pad, strengthPercent);
        entry.pad = pad;
        entry.strength = strengthPercent;
    }
    if (entry.motor) entry.motor->Run(on);
    on_[controller] = on;
}

void ControllerMotors::Stop(int controller) {
    if (controller < 0 || controller >= kControllerCount) return;
    const std::lock_guard<SlimLock> hold(lock_);
    entries_[controller] = Entry{};
    on_[controller] = false;
}

void ControllerMotors::StopAll() {
    for (int controller = 0; controller < kControllerCount; ++controller) Stop(controller);
}

void ControllerMotors::Shutdown(bool processTerminating) {
    if (!processTerminating) {
        StopAll();
        return;
    }
    for (Entry& entry : entries_) static_cast<void>(entry.motor.release());
}
