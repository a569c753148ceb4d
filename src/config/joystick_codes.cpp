#include "config/joystick_codes.h"

#include "config/controller_config.h"

JoystickInput DecodeJoystickInput(int32_t code) {
    if (code >= 0 && code < kJoystickButtonCount) return {JoystickInputKind::Button, code, 0};
    if (code >= kAxisCodeBase && code < kAxisCodeBase + 10 * kJoystickAxisCount) {
        const int32_t offset = code - kAxisCodeBase;
        if (offset % 10 < 2) return {JoystickInputKind::Axis, offset / 10, offset % 10};
    }
    if (code >= kHatCodeBase && code < kHatCodeBase + 10 * kJoystickHatCount) {
        const int32_t offset = code - kHatCodeBase;
        if (offset % 10 < kHatDirectionCount) return {JoystickInputKind::Hat, offset / 10, offset % 10};
    }
    return {};
}

bool SelectorAxis(int32_t selector, SelectedAxis& out) {
    if (selector >= AxisX && selector <= AxisZInverted) {
        out = {static_cast<JoystickAxis>(selector / 2), selector % 2 == 1};
        return true;
    }
    if (selector >= AxisRx && selector <= kLastAxisSelector) {
        const int32_t step = selector - AxisRx;
        out = {static_cast<JoystickAxis>(JoystickAxisRx + step / 2), step % 2 == 1};
        return true;
    }
    return false;
}
