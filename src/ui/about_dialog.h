// The plug-in's name, version and what it works with.
#pragma once

#include "framework/dialog.h"

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(HWND parent);

protected:
    bool OnInit() override;
};
