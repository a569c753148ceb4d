// Plays a fixed, timed sequence of log lines; touches no device and no netplay function.
#pragma once

#include "framework/dialog.h"

class TestDialog : public Dialog {
public:
    explicit TestDialog(HWND parent);

protected:
    bool OnCommand(int id, int code) override;
};
