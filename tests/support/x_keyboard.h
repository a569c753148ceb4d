// Real key presses from outside the program: xdotool, started as a Unix process through Wine, sends
// them to the X server, which gives them to the focused Wine window.
#pragma once

#include <string>

namespace XKeyboard {
// `keys` are X key names separated by spaces ("Up Down"); none is a no-op. Returns once xdotool has
// sent them (false if it could not be run or did not finish): Wine still handles them
// asynchronously, so callers poll for the effect.
bool KeyDown(const std::string& keys);
bool KeyUp(const std::string& keys);
}  // namespace XKeyboard
