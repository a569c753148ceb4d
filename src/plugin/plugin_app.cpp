#include "plugin/plugin_app.h"

#include "config/registry_settings.h"
#include "netplay/kaillera_library.h"
#include "netplay/netplay_game.h"
#include "netplay/netplay_log_window.h"
#include "plugin/plugin_state.h"

PluginApp::PluginApp() { ResetControllerDevices(pluginState.controllers); }

bool PluginApp::InitInstance() {
    LoadConfiguration(pluginState.controllers, pluginState.netplay);  // first: the netplay library is loaded from the saved path
    LoadKailleraLibrary();
    CallKailleraInit();
    netplayLogWindow.Create();  // hidden until a game shows it
    return true;  // start-up never fails: without settings or library the plug-in still plays
}

int PluginApp::ExitInstance(bool processTerminating) {
    netplayLogWindow.Destroy(processTerminating);
    if (processTerminating) {
        // The other threads are gone, DirectInput's among them, and releasing a device could wait
        // on them for ever; the netplay library, loaded after us, has been detached already. The
        // system reclaims all of it.
        pluginState.devices.Shutdown(true);
        StopNetplay(true);
    } else {
        pluginState.devices.Shutdown(false);
        StopNetplay();
        CallKailleraShutdown();
        UnloadKailleraLibrary();
    }
    return Application::ExitInstance(processTerminating);
}

namespace {
PluginApp thePluginApp;
}  // namespace
