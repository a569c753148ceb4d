// What shakes one controller's pad while the game runs its rumble pak's motor: a DirectInput pad's
// force feedback, or an XInput pad's own vibration. One implementation per kind of pad; the code
// that answers the game's commands never asks which.
#pragma once

#include <cstdint>

class Motor {
public:
    virtual ~Motor() = default;
    // The motor level the game last wrote. Games repeat "off" several times a frame, so an
    // implementation acts only when the level changes.
    virtual void Run(bool on) = 0;
    // Stops at once, whatever the last level was: the ROM closed, the plug-in closes, the device
    // was lost or the pak setting changed.
    virtual void Stop() = 0;
};

// A strength setting (percent; out of 0..100 means the default, 100) scaled onto a device's full
// force `fullScale`.
inline constexpr int32_t kRumbleStrengthDefault = 100;
constexpr uint32_t ScaleRumbleStrength(int32_t percent, uint32_t fullScale) {
    if (percent < 0 || percent > 100) percent = kRumbleStrengthDefault;
    return static_cast<uint32_t>(static_cast<uint64_t>(fullScale) * static_cast<uint32_t>(percent) / 100u);
}
