#include "input/xinput/xinput_gamepad.h"

const uint16_t kXInputButtonOrder[kXInputButtonCount] = {
    XInputButton::A,          XInputButton::B,             XInputButton::X,    XInputButton::Y,
    XInputButton::LeftShoulder, XInputButton::RightShoulder, XInputButton::Back, XInputButton::Start,
    XInputButton::LeftThumb,  XInputButton::RightThumb,
};

namespace {

constexpr int32_t kStickFull = 32767;  // -32768 counts as full deflection too
constexpr int32_t kTriggerFull = 255;
constexpr uint32_t kHatCentred = 0xFFFFFFFF;
constexpr uint8_t kDown = 0x80;

// Past the dead zone the rest of the travel is stretched over the whole range. The stretch is one
// multiplication by a 16.16 factor worked out once per read; rounding it up keeps full travel at
// exactly `range`.
struct Scale {
    Scale(int32_t full, int32_t range, int32_t deadZone)
        : full(full), dead(full * deadZone / 100), factor(((range << 16) + (full - dead) - 1) / (full - dead)) {}
    int32_t operator()(int32_t magnitude) const {
        if (magnitude > full) magnitude = full;
        if (magnitude <= dead) return 0;
        return static_cast<int32_t>((int64_t{magnitude - dead} * factor) >> 16);
    }
    int32_t full, dead, factor;
};

int32_t Stick(const Scale& scale, int16_t raw) {
    const int32_t value = scale(raw < 0 ? -int32_t{raw} : raw);
    return raw < 0 ? -value : value;
}

// The d-pad as a hat in hundredths of a degree clockwise from up; opposite directions cancel.
uint32_t Hat(uint16_t buttons) {
    const int dx = ((buttons & XInputButton::DPadRight) ? 1 : 0) - ((buttons & XInputButton::DPadLeft) ? 1 : 0);
    const int dy = ((buttons & XInputButton::DPadUp) ? 1 : 0) - ((buttons & XInputButton::DPadDown) ? 1 : 0);
    constexpr uint32_t kAngles[3][3] = {
        {22500, 18000, 13500},       // down-left, down, down-right
        {27000, kHatCentred, 9000},  // left, none, right
        {31500, 0, 4500},            // up-left, up, up-right
    };
    return kAngles[dy + 1][dx + 1];
}

}  // namespace

void ReadXInputSnapshot(const XInputGamepad& pad, int32_t range, int32_t deadZone, JoystickSnapshot& out) {
    const Scale stick(kStickFull, range, deadZone), trigger(kTriggerFull, range, deadZone);
    out = kIdleJoystick;
    out.x = Stick(stick, pad.thumbLX);
    out.y = -Stick(stick, pad.thumbLY);
    out.rx = Stick(stick, pad.thumbRX);
    out.ry = -Stick(stick, pad.thumbRY);
    out.z = trigger(pad.leftTrigger);
    out.rz = trigger(pad.rightTrigger);
    out.pov[0] = Hat(pad.buttons);
    for (int button = 0; button < kXInputButtonCount; ++button)
        if (pad.buttons & kXInputButtonOrder[button]) out.buttons[button] = kDown;
}
