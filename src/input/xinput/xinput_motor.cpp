#include "input/xinput/xinput_motor.h"

#include "config/xinput_device.h"
#include "input/xinput/xinput_library.h"

namespace {
constexpr uint32_t kFullSpeed = 65535;
}  // namespace

XInputMotor::XInputMotor(int32_t pad, int32_t strength)
    : pad_(pad), speed_(static_cast<uint16_t>(ScaleRumbleStrength(strength, kFullSpeed))) {}

void XInputMotor::Run(bool on) {
    if (on == on_) return;
    on_ = on;
    Set(on ? speed_ : 0);
}

void XInputMotor::Stop() {
    on_ = false;
    Set(0);
}

// A pad that is missing refuses the call; the next change tries again, and a pad plugged back in
// starts still.
void XInputMotor::Set(uint16_t speed) const {
    const XInputFunctions* xinput = XInputLibrary();
    if (!xinput || pad_ < 0 || pad_ >= kXInputPadCount) return;
    XINPUT_VIBRATION vibration{speed, speed};  // the low- and the high-frequency motor
    xinput->setState(static_cast<DWORD>(pad_), &vibration);
}
