// The main configuration dialog: each controller's device, the netplay options, saving, and the
// way to the mapping, About and test dialogs. It keeps no copy of the settings: every control
// writes the live records at once, and "Save" only makes them permanent.
#pragma once

#include "config/controller_config.h"
#include "config/netplay_settings.h"
#include "framework/dialog.h"
#include "input/device_table.h"

// What the dialog works on: the live records, which it edits in place, the devices it offers, and
// what the netplay library said of itself.
struct ConfigDialogData {
    ControllerConfigs& controllers;
    NetplaySettings& netplay;
    const DeviceListing& devices;
    bool kailleraLoaded;
    const char* kailleraVersion;
};

class ConfigDialog : public Dialog {
public:
    ConfigDialog(HWND parent, const ConfigDialogData& data);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void OnControllerChosen();
    void OnDeviceChosen();
    void OnSettings();
    void OnPak();
    void OnEnableKaillera();
    void OnBrowseDll();
    // The selected controller number, or -1 when none is selected.
    int SelectedController() const;
    // The listed device a mapping names, or null for -1 or any index outside the table.
    const ListedDevice* DeviceOf(int32_t device) const;

    ControllerConfigs& controllers;
    NetplaySettings& netplay;
    const DeviceListing& devices;
    bool kailleraLoaded;
    const char* kailleraVersion;

    Control viewLog;
    Control dllPath;
    Control kailleraVersionText;
    Control playAsLabel;
    ComboBox playAsList;
    Control enableKaillera;
    Control settings;
    ComboBox deviceList;
    ComboBox controllerList;
};
