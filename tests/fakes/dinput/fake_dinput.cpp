// Exports of the fake dinput.dll: the DirectInput entry points the plug-in imports, and the
// FakeDi_* control surface declared in fake_dinput_control.h.
#include "fake_objects.h"

#include <cstring>

using fakedi::State;
using fakedi::VirtualDevice;

namespace {

HRESULT createDirectInput(REFIID riid, void** out, LPUNKNOWN outer) {
    State& state = State::instance();
    auto lock = state.lock();
    if (auto fault = state.enter(FAKEDI_CALL_CREATE, fakedi::kNoDevice)) return *fault;
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!IsEqualIID(riid, IID_IDirectInputA) && !IsEqualIID(riid, IID_IDirectInput2A) &&
        !IsEqualIID(riid, IID_IDirectInput7A))
        return E_NOINTERFACE;
    *out = static_cast<IDirectInput7A*>(new fakedi::FakeDirectInput);
    state.noteDirectInputCreated();
    return DI_OK;
}

int32_t addDevice(bool keyboard, const char* name, const uint8_t* guidBytes, bool hasZAxis) {
    State& state = State::instance();
    auto lock = state.lock();
    const int index = state.deviceCount();
    VirtualDevice device;
    device.keyboard = keyboard;
    device.axisMask = keyboard ? 0 : hasZAxis ? fakedi::kXYZAxes : fakedi::kXYAxes;
    device.name = name ? name : (keyboard ? "Keyboard" : "Joystick");
    if (guidBytes) {
        std::memcpy(&device.instance, guidBytes, sizeof device.instance);
    } else {
        device.instance = GUID{0x7A710000u | static_cast<DWORD>(index), 0xD1A0, 0x11EF,
                               {0x80, 0x00, 'T', 'A', 'V', 'I', 'K', 'I'}};
    }
    device.product = GUID{0x7A720000u | static_cast<DWORD>(index), 0xD1A0, 0x11EF,
                          {0x80, 0x00, 'T', 'A', 'V', 'I', 'K', 'P'}};
    return state.addDevice(std::move(device));
}

// Runs `change` on the device at `index` under the lock; unknown indexes are ignored so that a
// mistaken test index cannot crash the program under test.
template <typename Change>
void changeDevice(int32_t index, Change change) {
    State& state = State::instance();
    auto lock = state.lock();
    if (VirtualDevice* device = state.device(index)) change(*device);
}

}  // namespace

extern "C" {

HRESULT WINAPI DirectInputCreateEx(HINSTANCE, DWORD, REFIID riid, LPVOID* out, LPUNKNOWN outer) {
    return createDirectInput(riid, out, outer);
}

HRESULT WINAPI DirectInputCreateA(HINSTANCE, DWORD, LPDIRECTINPUTA* out, LPUNKNOWN outer) {
    return createDirectInput(IID_IDirectInputA, reinterpret_cast<void**>(out), outer);
}

void __cdecl FakeDi_Reset(void) {
    State& state = State::instance();
    auto lock = state.lock();
    state.reset();
}

int32_t __cdecl FakeDi_AddKeyboard(const char* name, const uint8_t* guidBytes) {
    return addDevice(true, name, guidBytes, false);
}

int32_t __cdecl FakeDi_AddJoystick(const char* name, const uint8_t* guidBytes, int32_t hasZAxis) {
    return addDevice(false, name, guidBytes, hasZAxis != 0);
}

void __cdecl FakeDi_SetAttached(int32_t device, int32_t attached) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* target = state.device(device);
    if (!target) return;
    target->attached = attached != 0;
    if (!target->attached) state.loseAcquisition(device);
}

void __cdecl FakeDi_SetDevicePath(int32_t device, const char* path) {
    changeDevice(device, [&](VirtualDevice& d) { d.path = path ? path : ""; });
}

void __cdecl FakeDi_SetEnumerationDelay(int32_t ms) {
    State& state = State::instance();
    auto lock = state.lock();
    state.setEnumerationDelay(ms > 0 ? static_cast<DWORD>(ms) : 0);
}

void __cdecl FakeDi_SetKey(int32_t device, int32_t code, int32_t down) {
    changeDevice(device, [&](VirtualDevice& d) {
        if (code >= 0 && code < static_cast<int32_t>(d.keys.size())) d.keys[code] = down ? 0x80 : 0;
    });
}

void __cdecl FakeDi_SetButton(int32_t device, int32_t button, int32_t down) {
    changeDevice(device, [&](VirtualDevice& d) {
        if (button >= 0 && button < static_cast<int32_t>(d.buttons.size()))
            d.buttons[button] = down ? 0x80 : 0;
    });
}

void __cdecl FakeDi_SetAxis(int32_t device, int32_t axis, int32_t value) {
    changeDevice(device, [&](VirtualDevice& d) {
        if (axis >= 0 && axis < static_cast<int32_t>(d.axes.size())) d.axes[axis] = value;
    });
}

void __cdecl FakeDi_SetJoystickObjects(int32_t device, uint32_t axisMask, int32_t hats) {
    changeDevice(device, [&](VirtualDevice& d) {
        if (d.keyboard) return;
        d.axisMask = axisMask & ((1u << fakedi::kAxisSlots) - 1);
        d.hats = hats < 0 ? 0 : hats > fakedi::kPovSlots ? fakedi::kPovSlots : hats;
    });
}

void __cdecl FakeDi_SetPov(int32_t device, int32_t hat, uint32_t value) {
    changeDevice(device, [&](VirtualDevice& d) {
        if (hat >= 0 && hat < fakedi::kPovSlots) d.povs[hat] = value;
    });
}

int32_t __cdecl FakeDi_GetDeadZone(int32_t device, int32_t offset) {
    int32_t found = -1;
    changeDevice(device, [&](VirtualDevice& d) {
        auto deadZone = d.deadZones.find(static_cast<DWORD>(offset));
        if (deadZone != d.deadZones.end()) found = static_cast<int32_t>(deadZone->second);
    });
    return found;
}

void __cdecl FakeDi_FailCall(int32_t call, int32_t device, int32_t detail, int32_t result, int32_t times) {
    State& state = State::instance();
    auto lock = state.lock();
    state.armFault(call, device, detail, static_cast<HRESULT>(result), times);
}

void __cdecl FakeDi_ClearFaults(void) {
    State& state = State::instance();
    auto lock = state.lock();
    state.clearFaults();
}

void __cdecl FakeDi_GetCounters(FakeDiCounters* out) {
    if (!out) return;
    State& state = State::instance();
    auto lock = state.lock();
    *out = state.counters();
}

int32_t __cdecl FakeDi_GetRange(int32_t device, int32_t offset, int32_t* minimum, int32_t* maximum) {
    int32_t found = 0;
    changeDevice(device, [&](VirtualDevice& d) {
        auto range = d.ranges.find(static_cast<DWORD>(offset));
        if (range == d.ranges.end()) return;
        found = 1;
        if (minimum) *minimum = range->second.minimum;
        if (maximum) *maximum = range->second.maximum;
    });
    return found;
}

int32_t __cdecl FakeDi_GetCooperativeFlags(int32_t device, void** window) {
    int32_t flags = 0;
    if (window) *window = nullptr;
    changeDevice(device, [&](VirtualDevice& d) {
        flags = static_cast<int32_t>(d.cooperativeFlags);
        if (window) *window = d.cooperativeWindow;
    });
    return flags;
}

int32_t __cdecl FakeDi_CallCount(int32_t call, int32_t device) {
    State& state = State::instance();
    auto lock = state.lock();
    return state.callCount(call, device);
}

void __cdecl FakeDi_SetForceFeedback(int32_t device, int32_t on) {
    changeDevice(device, [&](VirtualDevice& d) { d.forceFeedback = !d.keyboard && on != 0; });
}

void __cdecl FakeDi_GetEffects(int32_t device, FakeDiEffects* out) {
    if (!out) return;
    State& state = State::instance();
    auto lock = state.lock();
    *out = state.effectsOf(device);
}

}  // extern "C"
