#include "input/device_table.h"

#include "framework/application.h"
#include "config/controller_config.h"
#include "config/joystick_codes.h"
#include "framework/message_box.h"
#include "input/axis_properties.h"
#include "input/xinput/xinput_twin.h"

#include <cstring>

namespace {

// The stick's full deflection; a controller's own range is set over it once the table is built.
constexpr int32_t kAxisRange = kRangeDefault;

// One enumeration's work: the table being filled, the window for cooperative levels, the failures.
struct Build {
    DeviceTable& table;
    HWND window;
    DeviceErrors errors = 0;
    int count = 0;
};

// Runs one set-up call; a failure is noted and marks the device as failed, but the later steps
// are still attempted so that every failing call is reported.
void SetUpStep(HRESULT result, DeviceError error, DeviceErrors& errors, bool& failed) {
    if (SUCCEEDED(result)) return;
    errors |= error;
    failed = true;
}

bool SetUpKeyboard(IDirectInputDevice7A* device, Build& build) {
    bool failed = false;
    SetUpStep(device->SetDataFormat(&c_dfDIKeyboard), ErrorKeyboardDataFormat, build.errors, failed);
    SetUpStep(device->SetCooperativeLevel(build.window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              ErrorKeyboardCooperativeLevel, build.errors, failed);
    return !failed;
}

bool SetUpJoystick(IDirectInputDevice7A* device, Build& build) {
    bool failed = false;
    SetUpStep(device->SetDataFormat(&c_dfDIJoystick), ErrorJoystickDataFormat, build.errors, failed);
    SetUpStep(device->SetCooperativeLevel(build.window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
              ErrorJoystickCooperativeLevel, build.errors, failed);
    SetUpStep(SetAxisRange(device, JoystickAxisX, kAxisRange), ErrorJoystickRangeX, build.errors, failed);
    SetUpStep(SetAxisRange(device, JoystickAxisY, kAxisRange), ErrorJoystickRangeY, build.errors, failed);
    // Every further axis gets the stick range too, so its selectors give a stick position and its
    // directions a half-way mark; a pad lacking one must not lose its slot for it.
    for (int axis = JoystickAxisZ; axis < kJoystickAxisCount; ++axis) SetAxisRange(device, axis, kAxisRange);
    return !failed;
}

BOOL CALLBACK AddEnumeratedDevice(LPCDIDEVICEINSTANCEA record, LPVOID context) {
    Build& build = *static_cast<Build*>(context);
    if (build.count >= kMaxDevices) return DIENUM_STOP;

    DeviceSlot& slot = build.table.slots[build.count];
    const bool joystick = GET_DIDEVICE_TYPE(record->dwDevType) == DIDEVTYPE_JOYSTICK;
    slot.instanceGuid = record->guidInstance;
    static_assert(sizeof(slot.name) == sizeof(record->tszProductName));
    std::memcpy(slot.name, record->tszProductName, sizeof(slot.name));
    slot.name[sizeof(slot.name) - 1] = '\0';  // the driver's text may lack its terminator

    IDirectInput7A* directInput = build.table.directInput.Get();
    const HRESULT created =
        directInput->CreateDeviceEx(record->guidInstance, IID_IDirectInputDevice7A, slot.device.PutVoid(), nullptr);
    if (FAILED(created) || !slot.device) {
        build.errors |= joystick ? ErrorCreateJoystick : ErrorCreateKeyboard;
        slot.device.Reset();
        slot.kind = DeviceNone;
        return DIENUM_CONTINUE;
    }

    const bool ready = joystick ? SetUpJoystick(slot.device.Get(), build) : SetUpKeyboard(slot.device.Get(), build);
    if (!ready) {
        slot.device.Reset();  // the next device reuses this slot
        slot.kind = DeviceNone;
        return DIENUM_CONTINUE;
    }
    slot.kind = joystick ? DeviceJoystick : DeviceKeyboard;
    ++build.count;  // acquired by AcquireDevices, once its owner has set every property
    return DIENUM_CONTINUE;
}

struct ErrorText {
    DeviceError error;
    const char* text;
};
constexpr ErrorText kErrorTexts[] = {
    {ErrorDirectInputCreate, "DirectInputCreate - couldn't initialize..."},
    {ErrorCreateKeyboard, "CreateDevice : Keyboard"},
    {ErrorKeyboardDataFormat, "SetDataFormat : Keyboard"},
    {ErrorKeyboardCooperativeLevel, "SetCooperativeLevel : Keyboard"},
    {ErrorCreateJoystick, "CreateDevice : Joystick"},
    {ErrorJoystickDataFormat, "SetDataFormat : Joystick"},
    {ErrorJoystickCooperativeLevel, "SetCooperativeLevel : Joystick"},
    {ErrorJoystickRangeX, "SetProperty(DIPH_RANGE_X) : Joystick"},
    {ErrorJoystickRangeY, "SetProperty(DIPH_RANGE_Y) : Joystick"},
    {ErrorNoDevice, "No device found"},
};

}  // namespace

void ShowDeviceErrors(DeviceErrors errors, HWND owner, std::atomic<DeviceErrors>& shown) {
    for (const ErrorText& entry : kErrorTexts) {
        if (!(errors & entry.error)) continue;
        // Claimed before it is shown, so two threads building at once show it once between them.
        if (shown.fetch_or(entry.error) & entry.error) continue;
        if (entry.error == ErrorNoDevice)
            AppMessageBox(entry.text);
        else
            OwnedMessageBox(owner, entry.text, "Tavik_DI Error!", MB_OK | MB_ICONERROR);
    }
}

DeviceErrors CreateDevices(DeviceTable& table, HWND window) {
    if (table.created) return 0;
    ReleaseDevices(table);  // start from an empty table, also after a failed attempt

    if (FAILED(DirectInputCreateEx(ModuleInstance(), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                                   table.directInput.PutVoid(), nullptr)) ||
        !table.directInput) {
        table.directInput.Reset();
        return ErrorDirectInputCreate;  // not created
    }

    Build build{table, window};
    // Keyboards first, so joysticks can never crowd them out of the table.
    table.directInput->EnumDevices(DIDEVTYPE_KEYBOARD, AddEnumeratedDevice, &build, DIEDFL_ATTACHEDONLY);
    table.directInput->EnumDevices(DIDEVTYPE_JOYSTICK, AddEnumeratedDevice, &build, DIEDFL_ATTACHEDONLY);
    if (build.count == 0) build.errors |= ErrorNoDevice;
    table.created = true;
    return build.errors;
}

void AcquireDevices(const DeviceTable& table) {
    // Reads re-acquire whenever they find a device lost or not acquired, so the results can wait.
    for (const DeviceSlot& slot : table.slots)
        if (slot.device) slot.device->Acquire();
}

void ReleaseDevices(DeviceTable& table) {
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

DeviceListing ListDevices(const DeviceTable& table) {
    DeviceListing listing;
    for (int index = 0; index < kMaxDevices; ++index) {
        const DeviceSlot& slot = table.slots[index];
        ListedDevice& listed = listing.slots[index];
        listed.instanceGuid = slot.instanceGuid;
        listed.kind = slot.device ? slot.kind : DeviceNone;
        std::memcpy(listed.name, slot.name, sizeof listed.name);
        listed.xinputTwin = listed.kind == DeviceJoystick && IsXInputTwin(slot.device.Get());
    }
    return listing;
}

void AbandonDevices(DeviceTable& table) {
    for (DeviceSlot& slot : table.slots) {
        slot.device.Detach();
        slot.kind = DeviceNone;
    }
    table.directInput.Detach();
    table.created = false;
}
