// A rumble pak's motor on an XInput pad: the pad's own vibration, both of its motors at the
// controller's strength.
#pragma once

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
