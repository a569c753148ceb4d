#include "ui/config_dialog.h"

#include "config/first_run_layout.h"
#include "config/registry_settings.h"
#include "config/xinput_device.h"
#include "input/device_lookup.h"
#include "input/xinput/xinput_library.h"
#include "resources/resource_ids.h"
#include "ui/about_dialog.h"
#include "ui/joystick_dialog.h"
#include "ui/keyboard_dialog.h"
#include "ui/pak_dialog.h"
#include "ui/test_dialog.h"

#include <commdlg.h>

#include <string>

namespace {

constexpr intptr_t kDisableValue = 65535;
constexpr const char* kXInputPadNames[kXInputPadCount] = {"XInput Pad 1", "XInput Pad 2", "XInput Pad 3",
                                                          "XInput Pad 4"};
// An XInput pad's other face, through DirectInput: its triggers share one axis and it cannot rumble.
constexpr const char* kTwinSuffix = " (DirectInput)";
constexpr const char* kControllerNames[kControllerCount] = {"N64 Controller 1", "N64 Controller 2", "N64 Controller 3",
                                                            "N64 Controller 4"};

}  // namespace

ConfigDialog::ConfigDialog(HWND parent, const ConfigDialogData& data)
    : Dialog(IDD_CONFIG, parent),
      controllers(data.controllers),
      netplay(data.netplay),
      devices(data.devices),
      kailleraLoaded(data.kailleraLoaded),
      kailleraVersion(data.kailleraVersion) {}

bool ConfigDialog::OnInit() {
    viewLog = Item(IDC_VIEW_LOG);
    dllPath = Item(IDC_DLL_PATH);
    kailleraVersionText = Item(IDC_KAILLERA_VERSION);
    playAsLabel = Item(IDC_PLAY_AS_LABEL);
    playAsList = List(IDC_PLAY_AS_LIST);
    enableKaillera = Item(IDC_ENABLE_KAILLERA);
    settings = Item(IDC_SETTINGS);
    deviceList = List(IDC_DEVICE_LIST);
    controllerList = List(IDC_CONTROLLER_LIST);

    for (int controller = 0; controller < kControllerCount; ++controller)
        controllerList.Add(kControllerNames[controller], controller);

    deviceList.Add("Disable", kDisableValue);
    for (int index = 0; index < kMaxDevices; ++index) {
        const ListedDevice& slot = devices.slots[index];
        if (slot.kind == DeviceKeyboard || slot.kind == DeviceJoystick)
            deviceList.Add(slot.xinputTwin ? (std::string(slot.name) + kTwinSuffix).c_str() : slot.name, index);
    }
    // After every DirectInput device, so that theirs keep the positions they always had.
    if (XInputLibrary())
        for (int32_t pad = 0; pad < kXInputPadCount; ++pad) deviceList.Add(kXInputPadNames[pad], XInputDeviceOf(pad));

    enableKaillera.Enable(kailleraLoaded);
    dllPath.SetText(netplay.Dll);
    enableKaillera.SetChecked(netplay.Enabled);
    OnEnableKaillera();
    for (const char* name : kControllerNames) playAsList.Add(name, 0);
    playAsList.Select(netplay.PlayAs >= 0 && netplay.PlayAs < kControllerCount ? netplay.PlayAs : -1);
    viewLog.SetChecked(netplay.ViewLog);

    controllerList.Select(0);
    OnControllerChosen();

    kailleraVersionText.SetText(kailleraVersion);
    return true;
}

bool ConfigDialog::OnCommand(int id, int code) {
    if (code == CBN_SELENDOK) {
        switch (id) {
            case IDC_CONTROLLER_LIST: OnControllerChosen(); return true;
            case IDC_DEVICE_LIST: OnDeviceChosen(); return true;
            case IDC_PLAY_AS_LIST:
                if (const int position = playAsList.Selection(); position >= 0) netplay.PlayAs = position;
                return true;
            default: return false;
        }
    }
    if (code != BN_CLICKED) return false;
    switch (id) {
        case IDC_SETTINGS: OnSettings(); return true;
        case IDC_PAK: OnPak(); return true;
        case IDC_ENABLE_KAILLERA: OnEnableKaillera(); return true;
        case IDC_VIEW_LOG: netplay.ViewLog = viewLog.Checked(); return true;
        case IDC_BROWSE_DLL: OnBrowseDll(); return true;
        case IDC_ABOUT: AboutDialog(Handle()).DoModal(); return true;
        case IDC_TEST: TestDialog(Handle()).DoModal(); return true;
        default: return false;
    }
}

// "Save" is the dialog's OK command, but it keeps the dialog open.
void ConfigDialog::OnOK() { SaveConfiguration(controllers, netplay); }

int ConfigDialog::SelectedController() const {
    const int position = controllerList.Selection();
    if (position < 0) return -1;
    const intptr_t controller = controllerList.Value(position);
    return controller >= 0 && controller < kControllerCount ? static_cast<int>(controller) : -1;
}

const ListedDevice* ConfigDialog::DeviceOf(int32_t device) const {
    return device >= 0 && device < kMaxDevices ? &devices.slots[device] : nullptr;
}

void ConfigDialog::OnControllerChosen() {
    const int controller = SelectedController();
    if (controller < 0) return;
    int position = -1;
    ControllerConfig& record = controllers[controller];
    // The device chosen before may sit in another slot now that the devices attached changed.
    if (const int32_t moved = SlotOfDevice(devices.slots, record.DeviceGuid); moved >= 0) record.DIDevice = moved;
    if (XInputPadOf(record.DIDevice) >= 0) {
        position = deviceList.FindValue(record.DIDevice);  // none without an XInput library
    } else if (const ListedDevice* slot = DeviceOf(record.DIDevice)) {
        // Devices are shown by name; the search starts after "Disable", which must never stand for
        // a device whose name happens to begin its text.
        position = deviceList.FindPrefix(slot->name, 0);
        if (position == 0) position = -1;
    }
    // The record keeps its device even when the list cannot show it.
    deviceList.Select(position < 0 ? 0 : position);
    settings.Enable(position > 0);
}

void ConfigDialog::OnDeviceChosen() {
    const int controller = SelectedController();
    const int position = deviceList.Selection();
    if (controller < 0 || position < 0) return;
    const intptr_t value = deviceList.Value(position);
    const bool device = value >= 0 && value < kMaxDevices;
    const bool xinputPad = XInputPadOf(static_cast<int32_t>(value)) >= 0;
    ControllerConfig& record = controllers[controller];
    record.DIDevice = device || xinputPad ? static_cast<int32_t>(value) : kNoDevice;
    // Remembered by identity too, so the controller keeps its own pad when others come and go.
    record.DeviceGuid = {};
    if (device) std::memcpy(&record.DeviceGuid, &devices.slots[value].instanceGuid, sizeof record.DeviceGuid);
    // A controller that was never mapped gets its device's built-in layout, so a first run plays.
    if (const ListedDevice* slot = DeviceOf(record.DIDevice); slot && slot->kind != DeviceNone)
        ApplyFirstRunLayout(record, slot->kind == DeviceKeyboard ? LayoutKind::Keyboard : LayoutKind::Joystick);
    if (xinputPad) ApplyFirstRunLayout(record, LayoutKind::Joystick);
    settings.Enable(device || xinputPad);
}

void ConfigDialog::OnSettings() {
    const int controller = SelectedController();
    if (controller < 0) return;
    ControllerConfig& record = controllers[controller];
    if (const int32_t pad = XInputPadOf(record.DIDevice); pad >= 0) {
        JoystickDialog dialog(Handle());
        dialog.config = &record;
        dialog.xinputPad = pad;
        dialog.DoModal();
        return;
    }
    const ListedDevice* slot = DeviceOf(record.DIDevice);
    if (!slot) return;
    if (slot->kind == DeviceKeyboard) {
        KeyboardDialog dialog(Handle());
        dialog.config = &record;
        dialog.DoModal();
    } else if (slot->kind == DeviceJoystick) {
        JoystickDialog dialog(Handle());
        dialog.config = &record;
        dialog.device = slot->instanceGuid;
        dialog.DoModal();
    }
}

void ConfigDialog::OnPak() {
    if (const int controller = SelectedController(); controller >= 0)
        PakDialog(Handle(), controllers[controller], kControllerNames[controller]).DoModal();
}

void ConfigDialog::OnEnableKaillera() {
    const bool enabled = enableKaillera.Checked();
    playAsLabel.Enable(enabled);
    playAsList.Enable(enabled);
    viewLog.Enable(enabled);
    netplay.Enabled = enabled;
}

void ConfigDialog::OnBrowseDll() {
    // Room for any path the dialog can return; what is kept is cut to the stored field.
    char file[MAX_PATH * 4] = {};
    lstrcpynA(file, netplay.Dll, sizeof file);
    OPENFILENAMEA request{};
    request.lStructSize = sizeof request;
    request.hwndOwner = Handle();
    request.lpstrFile = file;
    request.nMaxFile = sizeof file;
    // The host's current directory is left alone: the default library path is relative to it.
    request.Flags = OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetOpenFileNameA(&request)) return;
    file[sizeof file - 1] = '\0';
    SetDllPath(netplay, file);
    dllPath.SetText(netplay.Dll);
}
