// Moving the four mappings and the netplay options between the registry and the plug-in's state.
#pragma once

#include "config/controller_config.h"
#include "config/netplay_settings.h"

#include <windows.h>

// Reads whatever is stored; never creates the key. Missing values keep what the fields hold.
void LoadConfiguration(ControllerConfigs& controllers, NetplaySettings& netplay);
// Writes the four mappings and the netplay options (all but Enabled), creating keys as needed.
void SaveConfiguration(const ControllerConfigs& controllers, const NetplaySettings& netplay);

void LoadControllerMapping(ControllerConfig& record, HKEY key);
void SaveControllerMapping(const ControllerConfig& record, HKEY key);
void LoadNetplaySettings(NetplaySettings& settings, HKEY key);
void SaveNetplaySettings(const NetplaySettings& settings, HKEY key);
