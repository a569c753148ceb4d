// A DirectInput pad's force feedback as a rumble pak's motor: one effect, made once for the device,
// started and stopped as the game switches the motor.
#pragma once

#include "framework/com_ptr.h"
#include "input/direct_input.h"
#include "input/motor.h"

#include <memory>

// Takes a pad with force feedback at the exclusive level its effects need, in the background so it
// still reads while the host's window is not in front. Other devices are left as they are. The
// device is not acquired yet.
void TakeForForceFeedback(IDirectInputDevice7A* device, HWND window);

class ForceFeedbackMotor final : public Motor {
public:
    // The motor of `device` at `strengthPercent` of its full force, or null when the device has no
    // force feedback or refuses the effect. Takes a reference of its own to the device.
    static std::unique_ptr<Motor> Make(IDirectInputDevice7A* device, int32_t strengthPercent);
    ~ForceFeedbackMotor() override;

    void Run(bool on) override;
    void Stop() override;

private:
    ForceFeedbackMotor(IDirectInputDevice7A* device, ComPtr<IDirectInputEffect> effect);
    // Starts the effect; a device that lost its acquisition is acquired again once.
    HRESULT Start();

    ComPtr<IDirectInputDevice7A> device_;
    ComPtr<IDirectInputEffect> effect_;  // released before the device
    bool running_ = false;
};
