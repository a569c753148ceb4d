// The plug-in as an emulator has it before its first frame: loaded, controllers initiated, a ROM open.
#pragma once

#include "plugin_api.h"

namespace Bench {

// False when the DLL does not load.
inline bool OpenPlugin(PluginApi& plugin, HWND window) {
    if (!plugin.Load()) return false;
    ControlSlot slots[4];
    plugin.InitiateControllers(window, slots);
    plugin.RomOpen();
    return true;
}

}  // namespace Bench
