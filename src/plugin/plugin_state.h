// The plug-in's single global state, living from library load to unload.
#pragma once

#include "config/controller_config.h"
#include "config/netplay_settings.h"
#include "input/polled_devices.h"
#include "input/xinput/xinput_pads.h"
#include "netplay/netplay_session.h"
#include "plugin/controller_devices.h"
#include "plugin/controller_motors.h"
#include "plugin/controller_port.h"

#include <windows.h>

struct PluginState {
    HWND hostWindow = nullptr;
    ControllerConfig controllers[kControllerCount]{};
    NetplaySettings netplay;
    PolledDevices devices{PrepareControllerDevices};
    XInputPads xinput;
    uint32_t pollCount = 0;  // GetKeys calls since RomOpen; wraps
    NetplaySession session;
    ControllerMotors motors;  // the rumble paks' motors
    PortController port[kControllerCount];
};

extern PluginState pluginState;
