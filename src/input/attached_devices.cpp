#include "input/attached_devices.h"

#include <cstring>

namespace {

void Add(AttachedJoysticks& joysticks, const GUID& instance) {
    if (joysticks.count < kMaxDevices) joysticks.instances[joysticks.count++] = instance;
}

BOOL CALLBACK AddAttached(LPCDIDEVICEINSTANCEA record, LPVOID context) {
    Add(*static_cast<AttachedJoysticks*>(context), record->guidInstance);
    return DIENUM_CONTINUE;
}

}  // namespace

bool operator==(const AttachedJoysticks& a, const AttachedJoysticks& b) {
    return a.count == b.count && std::memcmp(a.instances, b.instances, sizeof(GUID) * a.count) == 0;
}

bool ReadAttachedJoysticks(IDirectInput7A* directInput, AttachedJoysticks& out) {
    out = AttachedJoysticks{};
    return SUCCEEDED(directInput->EnumDevices(DIDEVTYPE_JOYSTICK, AddAttached, &out, DIEDFL_ATTACHEDONLY));
}

AttachedJoysticks JoysticksOf(const DeviceTable& table) {
    AttachedJoysticks joysticks;
    for (const DeviceSlot& slot : table.slots)
        if (slot.device && slot.kind == DeviceJoystick) Add(joysticks, slot.instanceGuid);
    return joysticks;
}
