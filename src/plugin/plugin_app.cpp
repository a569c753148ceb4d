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
    // When the whole process is ending, the other threads are gone and DirectInput may be torn
    // down under us; the system reclaims the devices, so releasing them could only block.
    if (!processTerminating) ReleaseDevices();
    return Application::ExitInstance(processTerminating);
}

namespace {
PluginApp thePluginApp;
}  // namespace
