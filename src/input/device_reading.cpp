#include "input/device_reading.h"

#include "input/read_with_reacquire.h"

#include <cstddef>
#include <cstring>

static_assert(sizeof(DIJOYSTATE) == sizeof(JoystickSnapshot));
static_assert(offsetof(DIJOYSTATE, lX) == offsetof(JoystickSnapshot, x) &&
              offsetof(DIJOYSTATE, lY) == offsetof(JoystickSnapshot, y) &&
              offsetof(DIJOYSTATE, lZ) == offsetof(JoystickSnapshot, z) &&
              offsetof(DIJOYSTATE, rglSlider) == offsetof(JoystickSnapshot, sliders) &&
              offsetof(DIJOYSTATE, rgdwPOV) == offsetof(JoystickSnapshot, pov) &&
              offsetof(DIJOYSTATE, rgbButtons) == offsetof(JoystickSnapshot, buttons));

namespace {

bool ReadSnapshot(IDirectInputDevice7A* device, void* snapshot, DWORD size) {
    return SUCCEEDED(ReadWithReacquire([&] { return static_cast<int32_t>(device->GetDeviceState(size, snapshot)); },
                                       [&] { return static_cast<int32_t>(device->Acquire()); }));
}

}  // namespace

void ReadKeyboard(IDirectInputDevice7A* device, KeyboardSnapshot& keys) {
    if (!ReadSnapshot(device, keys, sizeof keys)) std::memset(keys, 0, sizeof keys);
}

void ReadJoystick(IDirectInputDevice7A* device, JoystickSnapshot& joystick) {
    device->Poll();
    if (!ReadSnapshot(device, &joystick, sizeof joystick)) joystick = kIdleJoystick;
}
