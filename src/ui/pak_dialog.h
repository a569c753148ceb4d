// What is inserted in one controller, and how hard its rumble pak shakes the pad. Edits the live
// record; the host learns a changed pak when it next calls InitiateControllers.
#pragma once

#include "config/controller_config.h"
#include "framework/dialog.h"

class PakDialog : public Dialog {
public:
    PakDialog(HWND parent, ControllerConfig& record, const char* controllerName);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void OnPakChosen();

    ControllerConfig& record;
    const char* controllerName;
    ComboBox pakList;
};
