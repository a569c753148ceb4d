// Maps a joystick onto one controller: the stick's two axes, and a button for every other input,
// assigned by pressing it.
#pragma once

#include "config/controller_config.h"
#include "framework/dialog.h"

class JoystickDialog : public Dialog {
public:
    explicit JoystickDialog(HWND parent);

    ControllerConfig* config = nullptr;  // edited in place; set before DoModal
    GUID device{};                       // the joystick's instance, which captures open

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void OnStickUpDownSelected();
    void OnStickLeftRightSelected();
    void RefreshButtonLabels();
    // Stores a dead zone or range typed into its field once it is within bounds; `showStored`
    // puts the value in effect back into the field.
    void OnTuningEdited(int id, bool showStored);

    ComboBox stickUpDownList;
    ComboBox stickLeftRightList;
};
