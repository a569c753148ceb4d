// Assigns a keyboard key to each of the 18 keyed inputs of one controller, by pressing it.
#pragma once

#include "config/controller_config.h"
#include "framework/dialog.h"

class KeyboardDialog : public Dialog {
public:
    explicit KeyboardDialog(HWND parent);

    ControllerConfig* config = nullptr;  // edited in place; set before DoModal

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;

private:
    void RefreshKeyLabels();
};
