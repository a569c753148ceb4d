// Switching netplay on as a player does: "Enable Kaillera" in the configuration dialog. (The
// setting is never stored, so there is no other way in.)
#pragma once

#include "plugin_api.h"

#include <string>

// Runs DllConfig, ticks the box (unticks it: `on` false) and closes the dialog. Returns "" on
// success, else what went wrong.
std::string EnableNetplayInConfigDialog(const PluginApi& plugin, HWND parent, bool on = true);

// The game of the full-speed exchange, as the library lists it to the players.
inline constexpr const char* kFullSpeedGame = "Unknown N64 Game - full speed, Tavik_DI on every side";

// The netplay log window (shown or not) and its text.
HWND NetplayLogWindow();
std::string NetplayLogText();
