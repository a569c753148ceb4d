// Draws one controller's state word: the 14 buttons lit while held, the stick as a dot in its range.
#pragma once

#include "input/button_state.h"

#include <windows.h>

namespace ControllerView {
inline constexpr int kWidth = 200;
inline constexpr int kHeight = 276;

// Draws controller `index` (0..3) with its top-left corner at `origin`.
void Draw(HDC dc, POINT origin, int index, const ButtonState& state);
}  // namespace ControllerView
