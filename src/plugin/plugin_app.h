// The plug-in's application object: loads the settings at start-up, releases the devices at exit.
#pragma once

#include "framework/application.h"

class PluginApp final : public Application {
public:
    PluginApp();
    bool InitInstance() override;
    int ExitInstance(bool processTerminating) override;
};
