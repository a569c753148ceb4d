// Maps a joystick onto one controller: the stick's two axes, and a button for every other input,
// assigned by pressing it.
#pragma once

#include "config/controller_config.h"
#include "framework/dialog.h"
#include "ui/joystick_labels.h"

#include <string>

class JoystickDialog : public Dialog {
public:
    explicit JoystickDialog(HWND parent);

    ControllerConfig* config = nullptr;  // edited in place; set before DoModal
    GUID device{};                       // the joystick's instance, which captures open
    int32_t xinputPad = -1;              // 0..3: an XInput pad, which captures read instead

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void OnStickUpDownSelected();
    void OnStickLeftRightSelected();
    void RefreshButtonLabels();
    std::string Label(int32_t code) const;
    // Stores a dead zone or range typed into its field once it is within bounds; `showStored`
    // puts the value in effect back into the field.
    void OnTuningEdited(int id, bool showStored);

    // The axis list's entries: a joystick's, or an XInput pad's own.
    const AxisChoice* axisChoices_ = kAxisChoices;
    int axisChoiceCount_ = kAxisChoiceCount;
    ComboBox stickUpDownList;
    ComboBox stickLeftRightList;
};
