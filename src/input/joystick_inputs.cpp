#include "input/joystick_inputs.h"

namespace {

constexpr uint8_t kDownBit = 0x80;
constexpr uint32_t kHatCentredLow = 0xFFFF;  // drivers report a centred hat as 0xFFFF or -1
constexpr uint32_t kFullCircle = 36000;      // hundredths of a degree
constexpr uint32_t kHatReach = 4500;

bool HatPoints(uint32_t pov, int32_t direction) {
    if ((pov & 0xFFFF) == kHatCentredLow || pov >= kFullCircle) return false;
    const uint32_t target = static_cast<uint32_t>(direction) * (kFullCircle / kHatDirectionCount);
    const uint32_t apart = pov > target ? pov - target : target - pov;
    return apart <= kHatReach || kFullCircle - apart <= kHatReach;
}

}  // namespace

int32_t AxisValue(const JoystickSnapshot& j, JoystickAxis axis) {
    switch (axis) {
        case JoystickAxisX: return j.x;
        case JoystickAxisY: return j.y;
        case JoystickAxisZ: return j.z;
        case JoystickAxisRx: return j.rx;
        case JoystickAxisRy: return j.ry;
        case JoystickAxisRz: return j.rz;
        case JoystickAxisSlider0: return j.sliders[0];
        case JoystickAxisSlider1: return j.sliders[1];
    }
    return 0;
}

bool IsJoystickInputDown(const JoystickSnapshot& j, int32_t code, int32_t range) {
    if (static_cast<uint32_t>(code) < kJoystickButtonCount) return (j.buttons[code] & kDownBit) != 0;  // the usual case
    const JoystickInput input = DecodeJoystickInput(code);
    switch (input.kind) {
        case JoystickInputKind::Button: return (j.buttons[input.index] & kDownBit) != 0;
        case JoystickInputKind::Axis: {
            const int32_t value = AxisValue(j, static_cast<JoystickAxis>(input.index));
            return input.direction == 1 ? value > range / 2 : value < -(range / 2);
        }
        case JoystickInputKind::Hat: return HatPoints(j.pov[input.index], input.direction);
        case JoystickInputKind::None: break;
    }
    return false;
}
