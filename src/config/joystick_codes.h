// Joystick inputs beyond the 32 buttons, kept in the same code fields as button numbers: one
// direction of an axis, or one direction of a point-of-view hat. Their codes lie far outside
// 0..255, so every reader that knows only keys and buttons (a keyboard mapping, an older build)
// takes them as a key or button that is never pressed.
#pragma once

#include <cstdint>

// The eight axes of the standard joystick state, in its order.
enum JoystickAxis : int32_t {
    JoystickAxisX,
    JoystickAxisY,
    JoystickAxisZ,
    JoystickAxisRx,
    JoystickAxisRy,
    JoystickAxisRz,
    JoystickAxisSlider0,
    JoystickAxisSlider1,
};
inline constexpr int kJoystickAxisCount = 8;
inline constexpr int kJoystickHatCount = 4;

enum HatDirection : int32_t { HatUp, HatRight, HatDown, HatLeft };
inline constexpr int kHatDirectionCount = 4;

inline constexpr int32_t kJoystickButtonCount = 32;
// 1000 + 10 * axis + 0 (towards the minimum) or 1 (towards the maximum): 1000 = X-, 1031 = Rx+.
inline constexpr int32_t kAxisCodeBase = 1000;
// 2000 + 10 * hat + direction: 2000 = hat 0 up, 2003 = hat 0 left.
inline constexpr int32_t kHatCodeBase = 2000;

constexpr int32_t AxisCode(JoystickAxis axis, bool positive) {
    return kAxisCodeBase + 10 * axis + (positive ? 1 : 0);
}
constexpr int32_t HatCode(int32_t hat, HatDirection direction) { return kHatCodeBase + 10 * hat + direction; }

enum class JoystickInputKind { None, Button, Axis, Hat };

struct JoystickInput {
    JoystickInputKind kind = JoystickInputKind::None;
    int32_t index = 0;      // button number, JoystickAxis or hat number
    int32_t direction = 0;  // axis: 0 minus, 1 plus; hat: HatDirection
};

// What a code names on a joystick; None for every code no joystick input has. Inline: every poll
// decodes each mapped input.
constexpr JoystickInput DecodeJoystickInput(int32_t code) {
    if (code >= 0 && code < kJoystickButtonCount) return {JoystickInputKind::Button, code, 0};
    if (code >= kAxisCodeBase && code < kAxisCodeBase + 10 * kJoystickAxisCount) {
        const int32_t offset = code - kAxisCodeBase;
        if (offset % 10 < 2) return {JoystickInputKind::Axis, offset / 10, offset % 10};
    }
    if (code >= kHatCodeBase && code < kHatCodeBase + 10 * kJoystickHatCount) {
        const int32_t offset = code - kHatCodeBase;
        if (offset % 10 < kHatDirectionCount) return {JoystickInputKind::Hat, offset / 10, offset % 10};
    }
    return {};
}

// Stick selectors past the original seven (7 stays "no axis"): each further axis, plain then inverted.
enum ExtraAxisSelector : int32_t {
    AxisRx = 8,
    AxisRxInverted = 9,
    AxisRy = 10,
    AxisRyInverted = 11,
    AxisRz = 12,
    AxisRzInverted = 13,
    AxisSlider0 = 14,
    AxisSlider0Inverted = 15,
    AxisSlider1 = 16,
    AxisSlider1Inverted = 17,
};
inline constexpr int32_t kLastAxisSelector = AxisSlider1Inverted;

struct SelectedAxis {
    JoystickAxis axis;
    bool inverted;
};
// The axis a stick selector follows; false for "use buttons" and for values that name no axis.
bool SelectorAxis(int32_t selector, SelectedAxis& out);
