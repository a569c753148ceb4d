// The main configuration dialog: each controller's device, the netplay options, saving, and the
// way to the mapping, About and test dialogs. It keeps no copy of the settings: every control
// writes the live records at once, and "Save" only makes them permanent.
#pragma once

#include "framework/dialog.h"

class ConfigDialog : public Dialog {
public:
    explicit ConfigDialog(HWND parent);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    void OnOK() override;

private:
    void OnControllerChosen();
    void OnDeviceChosen();
    void OnSettings();
    void OnEnableKaillera();
    void OnBrowseDll();
    // The selected controller number, or -1 when none is selected.
    int SelectedController() const;

    Control viewLog;
    Control dllPath;
    Control kailleraVersion;
    Control playAsLabel;
    ComboBox playAsList;
    Control enableKaillera;
    Control settings;
    ComboBox deviceList;
    ComboBox controllerList;
};
