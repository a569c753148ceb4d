// The demo host's self-check: real key presses through Wine's keyboard, checked against the words
// the host polls for controller 1.
#pragma once

#include "input/button_state.h"

#include <windows.h>

namespace SelfCheck {
// Maps controller 1 to the first device (the system keyboard) with the default keyboard layout.
// Run before the plug-in loads: it reads its settings once, at load.
bool MapControllerOneToKeyboard();

// Presses key combinations with xdotool and waits for `controller1`, which the host's timer keeps
// up to date, to show each expected word. With `readyFile`, it writes the window's screen
// rectangle there while the last combination is held and waits for `doneFile` to appear (a
// screenshot is taken meanwhile). Returns the process exit code: 0 when every word was right.
int Run(HWND window, const ButtonState& controller1, const char* readyFile, const char* doneFile);
}  // namespace SelfCheck
