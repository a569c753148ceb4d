#include "plugin/controller_motors.h"

#include "input/device_motor.h"

#include <mutex>

void ControllerMotors::Run(int controller, const DeviceSlot* pad, int32_t strengthPercent, bool on) {
    if (controller < 0 || controller >= kControllerCount) return;
    const std::lock_guard<SlimLock> hold(lock_);
    Entry& entry = entries_[controller];
    // An XInput pad has no DirectInput object: its slot names it.
    const void* device = !pad ? nullptr : pad->device ? static_cast<const void*>(pad->device.Get()) : pad;
    if (entry.device != device || entry.strength != strengthPercent) {
        entry.motor.reset();  // stops it
        entry.device = nullptr;
        if (!on) {
            on_[controller] = false;
            return;  // made when the game first wants it
        }
        if (pad) entry.motor = MakeDeviceMotor(*pad, strengthPercent);
        entry.device = device;
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
