#include "input/axis_properties.h"

namespace {
DIPROPHEADER AxisHeader(DWORD size, int axis) {
    return {size, sizeof(DIPROPHEADER), static_cast<DWORD>(axis) * sizeof(LONG), DIPH_BYOFFSET};
}
}  // namespace

HRESULT SetAxisRange(IDirectInputDevice7A* device, int axis, int32_t range) {
    DIPROPRANGE property{AxisHeader(sizeof(DIPROPRANGE), axis), -range, range};
    return device->SetProperty(DIPROP_RANGE, &property.diph);
}

HRESULT SetAxisDeadZone(IDirectInputDevice7A* device, int axis, int32_t percent) {
    constexpr DWORD kUnitsPerPercent = 100;  // DirectInput counts 10000 for the full deflection
    DIPROPDWORD property{AxisHeader(sizeof(DIPROPDWORD), axis), static_cast<DWORD>(percent) * kUnitsPerPercent};
    return device->SetProperty(DIPROP_DEADZONE, &property.diph);
}
