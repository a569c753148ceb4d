#include "config/joystick_codes.h"

#include "config/controller_config.h"

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
