// The motors of the four controllers' rumble paks, with one owner. The emulation thread runs them
// as the game writes the motor; any thread may stop them (the ROM closes, the plug-in closes or
// unloads). A motor is made at the first "on" for its controller's pad, kept while the game
// switches it, and made afresh when the pad's device object or the strength changes.
#pragma once

#include "config/controller_config.h"
#include "framework/slim_lock.h"
#include "input/device_table.h"
#include "input/motor.h"

#include <atomic>
#include <memory>

class ControllerMotors {
public:
    constexpr ControllerMotors() = default;
    ControllerMotors(const ControllerMotors&) = delete;
    ControllerMotors& operator=(const ControllerMotors&) = delete;

    // The level the game wrote for `controller`'s motor; `pad` is the controller's device slot,
    // null when it reads none.
    void Run(int controller, const DeviceSlot* pad, int32_t strengthPercent, bool on);
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
        const void* device = nullptr;  // the device object it was made for; the motor holds it
        int32_t strength = 0;
    };

    SlimLock lock_;
    Entry entries_[kControllerCount];
    std::atomic<bool> on_[kControllerCount]{};
};
