// The motors of the four controllers' rumble paks, with one owner. The emulation thread runs them
// as the game writes the motor; any thread may stop them (the ROM closes, the plug-in closes or
// unloads). A motor is made at the first "on" for its controller's pad, kept while the game
// switches it, and made afresh when the pad or the strength changes.
#pragma once

#include "config/controller_config.h"
#include "framework/slim_lock.h"
#include "input/device_motor.h"
#include "input/motor.h"

#include <atomic>
#include <memory>

class ControllerMotors {
public:
    constexpr ControllerMotors() = default;
    ControllerMotors(const ControllerMotors&) = delete;
    ControllerMotors& operator=(const ControllerMotors&) = delete;

    // The level the game wrote for `controller`'s motor; `pad` is the pad the controller reads,
    // empty when it reads none.
    void Run(int controller, const MotorPad& pad, int32_t strengthPercent, bool on);
    // Stops one controller's motor, or all of them, and lets go of their devices.
    void Stop(int controller);
    void StopAll();
    // Unload. A terminating process forgets the motors without calling DirectInput, whose
    // threads are gone.
    void Shutdown(bool processTerminating);
    // Whether the game has the motor on; no lock, for the per-poll check.
    bool On(int controller) const { return on_[controller].load(std::memory_order_relaxed); }

private:
    struct Entry {
        std::unique_ptr<Motor> motor;
        MotorPad pad;  // what it was made for; a joystick's motor holds the device
        int32_t strength = 0;
    };

    SlimLock lock_;
    Entry entries_[kControllerCount];
    std::atomic<bool> on_[kControllerCount]{};
};
