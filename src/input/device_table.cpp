#include "input/device_table.h"

#include "framework/application.h"
#include "framework/message_box.h"
#include "plugin/joystick_snapshot.h"
#include "plugin/plugin_state.h"

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

constexpr LONG kAxisMinimum = -64;
constexpr LONG kAxisMaximum = 64;

HRESULT SetAxisRange(IDirectInputDevice7A* device, DWORD axisOffset) {
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof(DIPROPRANGE);
    range.diph.dwHeaderSize = sizeof(DIPROPHEADER);
    range.diph.dwObj = axisOffset;
    range.diph.dwHow = DIPH_BYOFFSET;
    range.lMin = kAxisMinimum;
    range.lMax = kAxisMaximum;
    return device->SetProperty(DIPROP_RANGE, &range.diph);
}

// Runs one set-up call; a failure shows its own box and marks the device as failed, but the later
// steps are still attempted so that every failing call is reported.
void SetUpStep(HRESULT result, const char* errorText, bool& failed) {
    if (SUCCEEDED(result)) return;
    ShowDeviceError(errorText);
    failed = true;
}

bool SetUpKeyboard(IDirectInputDevice7A* device) {
    bool failed = false;
    SetUpStep(device->SetDataFormat(&c_dfDIKeyboard), "SetDataFormat : Keyboard", failed);
    SetUpStep(device->SetCooperativeLevel(pluginState.hostWindow, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              "SetCooperativeLevel : Keyboard", failed);
    return !failed;
}

bool SetUpJoystick(IDirectInputDevice7A* device) {
    bool failed = false;
    SetUpStep(device->SetDataFormat(&c_dfDIJoystick), "SetDataFormat : Joystick", failed);
    SetUpStep(device->SetCooperativeLevel(pluginState.hostWindow, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
              "SetCooperativeLevel : Joystick", failed);
    SetUpStep(SetAxisRange(device, DIJOFS_X), "SetProperty(DIPH_RANGE_X) : Joystick", failed);
    SetUpStep(SetAxisRange(device, DIJOFS_Y), "SetProperty(DIPH_RANGE_Y) : Joystick", failed);
    // Z gets the stick range too, so the Z selectors give a stick position; many pads have no Z
    // axis at all, which must not cost them their slot.
    SetAxisRange(device, DIJOFS_Z);
    return !failed;
}

BOOL CALLBACK AddEnumeratedDevice(LPCDIDEVICEINSTANCEA record, LPVOID context) {
    int& count = *static_cast<int*>(context);
    if (count >= kMaxDevices) return DIENUM_STOP;

    DeviceSlot& slot = pluginState.devices.slots[count];
    const bool joystick = GET_DIDEVICE_TYPE(record->dwDevType) == DIDEVTYPE_JOYSTICK;
    slot.instanceGuid = record->guidInstance;
    static_assert(sizeof(slot.name) == sizeof(record->tszProductName));
    std::memcpy(slot.name, record->tszProductName, sizeof(slot.name));
    slot.name[sizeof(slot.name) - 1] = '\0';  // the driver's text may lack its terminator

    IDirectInput7A* directInput = pluginState.devices.directInput.Get();
    const HRESULT created =
        directInput->CreateDeviceEx(record->guidInstance, IID_IDirectInputDevice7A, slot.device.PutVoid(), nullptr);
    if (FAILED(created) || !slot.device) {
        ShowDeviceError(joystick ? "CreateDevice : Joystick" : "CreateDevice : Keyboard");
        slot.device.Reset();
        slot.kind = DeviceNone;
        return DIENUM_CONTINUE;
    }

    const bool ready = joystick ? SetUpJoystick(slot.device.Get()) : SetUpKeyboard(slot.device.Get());
    if (!ready) {
        slot.device.Reset();  // the next device reuses this slot
        slot.kind = DeviceNone;
        return DIENUM_CONTINUE;
    }
    slot.kind = joystick ? DeviceJoystick : DeviceKeyboard;
    // Reads re-acquire whenever they find the device lost or not acquired, so this result can wait.
    slot.device->Acquire();
    ++count;
    return DIENUM_CONTINUE;
}

}  // namespace

void ShowDeviceError(const char* text) {
    OwnedMessageBox(pluginState.hostWindow, text, "Tavik_DI Error!", MB_OK | MB_ICONERROR);
}

void CreateDevices() {
    DeviceTable& table = pluginState.devices;
    if (table.created) return;
    ReleaseDevices();  // start from an empty table, also after a failed attempt

    if (FAILED(DirectInputCreateEx(ModuleInstance(), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                                   table.directInput.PutVoid(), nullptr)) ||
        !table.directInput) {
        table.directInput.Reset();
        ShowDeviceError("DirectInputCreate - couldn't initialize...");
        return;  // not created: the next caller tries again
    }

    int count = 0;
    // Keyboards first, so joysticks can never crowd them out of the table.
    table.directInput->EnumDevices(DIDEVTYPE_KEYBOARD, AddEnumeratedDevice, &count, DIEDFL_ATTACHEDONLY);
    table.directInput->EnumDevices(DIDEVTYPE_JOYSTICK, AddEnumeratedDevice, &count, DIEDFL_ATTACHEDONLY);
    if (count == 0) AppMessageBox("No device found");
    table.created = true;
}

void ReleaseDevices() {
    DeviceTable& table = pluginState.devices;
    for (DeviceSlot& slot : table.slots) {
        if (slot.device) {
            slot.device->Unacquire();
            slot.device.Reset();
        }
        slot.kind = DeviceNone;
    }
    table.directInput.Reset();
    table.created = false;
}

void ClearDeviceTable() {
    for (DeviceSlot& slot : pluginState.devices.slots) {
        slot.device.Reset();
        slot.kind = DeviceNone;
    }
}

void AbandonDevices() {
    DeviceTable& table = pluginState.devices;
    for (DeviceSlot& slot : table.slots) {
        slot.device.Detach();
        slot.kind = DeviceNone;
    }
    table.directInput.Detach();
    table.created = false;
}
