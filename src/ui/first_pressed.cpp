#include "ui/first_pressed.h"

#include "config/joystick_codes.h"
#include "input/joystick_inputs.h"

std::optional<int32_t> FirstJoystickInput(const JoystickSnapshot& rest, const JoystickSnapshot& now, int32_t range,
                                          uint32_t axes) {
    if (const int button = FirstPressed(now.buttons, kJoystickButtonCount); button >= 0) return button;
    for (int axis = 0; axis < kJoystickAxisCount; ++axis) {
        if ((axes & (1u << axis)) == 0) continue;
        const auto which = static_cast<JoystickAxis>(axis);
        const int64_t moved = int64_t{AxisValue(now, which)} - AxisValue(rest, which);
        if (moved > range / 2 || -moved > range / 2) {
            const int32_t code = AxisCode(which, moved > 0);
            if (IsJoystickInputDown(now, code, range)) return code;
        }
    }
    for (int hat = 0; hat < kJoystickHatCount; ++hat)
        for (int direction = 0; direction < kHatDirectionCount; ++direction) {
            const int32_t code = HatCode(hat, static_cast<HatDirection>(direction));
            if (IsJoystickInputDown(now, code, range)) return code;
        }
    return std::nullopt;
}
