// The entry points the host calls. None returns an error and nothing may propagate out of them.
#include "config/controller_config.h"
#include "framework/application.h"
#include "framework/message_box.h"
#include "netplay/kaillera_library.h"
#include "netplay/netplay_log_window.h"
#include "plugin/compose_controller_state.h"
#include "plugin/controller_port.h"
#include "plugin/host_records.h"
#include "plugin/plugin_state.h"
#include "resources/resource_ids.h"
#include "ui/dialogs.h"

#include <windows.h>

#include <cstring>

// Exported, undecorated, by exports.def.
#define PLUGIN_EXPORT extern "C" void __cdecl

namespace {

// The local netplay player plays with the mapping chosen as PlayAs; none chosen sends nothing.
void ComposeLocalPlayer(const void* devices, ButtonState* state) {
    if (const ControllerConfig* mapping = MappingForPlayer(pluginState.controllers, pluginState.netplay.PlayAs))
        ComposeControllerState(static_cast<const DeviceTable*>(devices), *mapping, state);
    else
        ClearButtonState(state);
}

NetplayLinks NetplayLinksNow() { return NetplayLinks{pluginState.netplay.ViewLog, ComposeLocalPlayer, &netplayLogWindow}; }

// A game handler the library runs on a thread of its own gets this long to leave our code before
// the host may unload it.
constexpr DWORD kForeignHandlerMs = 1000;

}  // namespace

PLUGIN_EXPORT GetDllInfo(PluginInfo* info) {
    if (!info) return;
    char text[256] = {};
    LoadModuleString(IDS_VERSION_TEXT, text);
    info->version = kPluginSpecVersion;
    info->type = kControllerPluginType;
    // Bounded to the field; the rest of it is zero bytes.
    const size_t length = strnlen(text, sizeof info->name);
    std::memcpy(info->name, text, length);
    std::memset(info->name + length, 0, sizeof info->name - length);
    info->normalMemory = 0;
    info->memorySwapped = 1;
}

PLUGIN_EXPORT InitiateControllers(HWND window, ControlSlot* controls) {
    pluginState.hostWindow = window;
    DescribeControllers(controls);  // the host keeps no pointer of ours: nothing is written later
    if (!window) AppMessageBox("Hum, bad news : InitiateControllers() have hwnd = NULL!!!");
}

PLUGIN_EXPORT GetKeys(int32_t control, ButtonState* keys) {
    if (!keys) return;
    *keys = PollThroughGetKeys(control);  // one store: the host never sees a half-built word
}

PLUGIN_EXPORT RomOpen() {
    pluginState.devices.Open(pluginState.hostWindow);
    pluginState.pollCount = 0;
    // The setting takes effect here and holds until the next RomOpen, whatever Configure changes.
    if (pluginState.netplay.Enabled) {
        HoldKailleraLibrary(KailleraNeed::Netplay, pluginState.netplay.Dll);
        netplayLogWindow.Create();
        pluginState.session.Start(NetplayLinksNow());  // returns once a game has started
    } else {
        pluginState.session.StartWithoutNetplay();  // no earlier ROM's game goes on under this one
    }
}

PLUGIN_EXPORT RomClosed() {
    pluginState.session.Stop();  // the game began under the last RomOpen, whatever the setting says now
    netplayLogWindow.Destroy(false);  // its text stays for the next game's window
    pluginState.devices.Close();  // the next game enumerates afresh, off its polls
    pluginState.motors.StopAll();
}

PLUGIN_EXPORT CloseDLL() {
    pluginState.devices.Release();
    pluginState.xinput.Close();
    pluginState.session.Close();  // also a game started before netplay was switched off
    pluginState.session.WaitForForeignHandler(kForeignHandlerMs);
    netplayLogWindow.Destroy();
    // Here, not at unload: never under the loader lock. A server window still open keeps the
    // library until it closes.
    ReleaseKailleraLibrary(KailleraNeed::Netplay);
    pluginState.motors.StopAll();
}

// The dialogs run on the host's window thread while its emulation thread may be polling: they list
// devices from a table of their own and leave the polls' table to the polls, asking only for a
// fresh one, built off the polls, to see the devices attached meanwhile.
PLUGIN_EXPORT DllConfig(HWND parent) {
    const KailleraLibraryUse library(pluginState.netplay.Dll);  // the dialog shows its version
    // Before the first game there is no host window yet; the keyboard still needs one to be set up.
    HWND window = pluginState.hostWindow ? pluginState.hostWindow : GetAncestor(parent, GA_ROOT);
    const DeviceListing devices = pluginState.devices.ListAttached(window);
    char version[kKailleraVersionSize] = "No version !";
    GetKailleraVersionText(version);  // terminated within the buffer, whatever the library wrote
    ShowConfigDialog(parent, {pluginState.controllers, pluginState.netplay, devices, KailleraLibraryLoaded(), version});
    pluginState.devices.Refresh(pluginState.hostWindow);
}

PLUGIN_EXPORT DllTest(HWND parent) {
    ShowTestDialog(parent);
    pluginState.devices.Refresh(pluginState.hostWindow);
}

PLUGIN_EXPORT DllAbout(HWND parent) { ShowAboutDialog(parent); }

// The host hands over command blocks only for a controller InitiateControllers gave raw data (a
// rumble pak); any other block is left as it is.
PLUGIN_EXPORT ControllerCommand(int32_t control, uint8_t* block) { ServeCommand(control, block); }

PLUGIN_EXPORT ReadController(int32_t control, uint8_t* block) { ServeRead(control, block); }

// Keyboard input comes from DirectInput, never from the host's messages, so one empty routine
// serves the two key entry points (exported under their names by the .def).
extern "C" void __cdecl IgnoredHostCall() {}
