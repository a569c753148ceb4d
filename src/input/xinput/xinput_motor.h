// A rumble pak's motor on an XInput pad: the pad's own vibration, both of its motors at the
// controller's strength.
#pragma once

#include "input/device_table.h"
#include "input/motor.h"

#include <cstdint>
#include <memory>

class XInputMotor final : public Motor {
public:
    // `pad` 0..3; `strength` a percentage as ScaleRumbleStrength takes it.
    XInputMotor(int32_t pad, int32_t strength);
    ~XInputMotor() override { Stop(); }  // a motor let go of never keeps shaking
    void Run(bool on) override;
    void Stop() override;

private:
    void Set(uint16_t speed) const;

    int32_t pad_;
    uint16_t speed_;
    bool on_ = false;
};

// What names XInput pad `pad` (0..3) where a motor is asked for a device slot: it holds no
// DirectInput device, and its kind says whose it is.
const DeviceSlot& XInputPadSlot(int32_t pad);
// The motor of the pad such a slot names.
std::unique_ptr<Motor> MakeXInputMotor(const DeviceSlot& slot, int32_t strength);
