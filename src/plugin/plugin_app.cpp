#include "plugin/plugin_app.h"

#include "config/registry_settings.h"
#include "plugin/plugin_state.h"

PluginApp::PluginApp() { ResetControllerDevices(pluginState.controllers); }

bool PluginApp::InitInstance() {
    // The netplay library is bound at its first need (the configuration dialog, a netplay
    // RomOpen), not here: its start-up opens sockets, which must not happen under the loader lock.
    LoadConfiguration(pluginState.controllers, pluginState.netplay);
    return true;  // start-up never fails: without settings or library the plug-in still plays
}

int PluginApp::ExitInstance(bool processTerminating) {
    // CloseDLL has shut the netplay library down and ended the log window. A host that unloads
    // without it leaves the library loaded and initialised: its shut-down cleans up sockets and
    // its own detach would run inside ours, neither of which is safe under the loader lock. The
    // log window cannot be open here: its thread keeps this library loaded while it runs.
    if (processTerminating) {
        // The other threads are gone, DirectInput's among them, and releasing a device could wait
        // on them for ever; the netplay library, loaded after us, has been detached already, so
        // nothing of it may be called, and a dead thread may hold the session's lock. The system
        // reclaims all of it.
        pluginState.motors.Shutdown(true);
        pluginState.devices.Shutdown(true);
    } else {
        pluginState.motors.Shutdown(false);  // the motors hold devices of their own
        pluginState.devices.Shutdown(false);
        pluginState.session.Close();
        pluginState.session.WaitForForeignHandler(1000);
    }
    return Application::ExitInstance(processTerminating);
}

namespace {
PluginApp thePluginApp;
}  // namespace
