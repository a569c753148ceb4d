// Real key presses from outside the program: xdotool, started as a Unix process through Wine, sends
// them to the X server, which gives them to the focused Wine window.
#pragma once

#include <string>

namespace XKeyboard {
// `keys` are X key names separated by spaces ("Up Down"). Returns whether xdotool was started;
// its effect arrives asynchronously, so callers poll for it.
bool KeyDown(const std::string& keys);
bool KeyUp(const std::string& keys);
}  // namespace XKeyboard
