#include "plugin/plugin_app.h"

#include "config/registry_settings.h"
#include "input/device_table.h"
#include "plugin/plugin_state.h"

PluginApp::PluginApp() {
    ResetControllerDevices(pluginState.controllers);
    ClearDeviceTable();
}

bool PluginApp::InitInstance() {
    LoadConfiguration();
    return true;  // start-up never fails: a missing setting just keeps its default
}

int PluginApp::ExitInstance(bool processTerminating) {
    // When the whole process is ending, the other threads are gone, DirectInput's among them, and
    // releasing a device could wait on them for ever; the system reclaims the devices anyway.
    if (processTerminating)
        AbandonDevices();
    else
        ReleaseDevices();
    return Application::ExitInstance(processTerminating);
}

namespace {
PluginApp thePluginApp;
}  // namespace
