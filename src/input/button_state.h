// The host's 32-bit controller state word.
#pragma once

#include <cstddef>
#include <cstdint>

struct ButtonState {
    uint16_t buttons;  // one bit per N64 button, 1 = pressed
    int8_t stickX;     // left negative
    int8_t stickY;     // up positive
};
static_assert(sizeof(ButtonState) == 4, "the host reads exactly four bytes");
static_assert(offsetof(ButtonState, stickX) == 2 && offsetof(ButtonState, stickY) == 3);

namespace ButtonBit {
inline constexpr uint16_t PadRight = 0x0001;
inline constexpr uint16_t PadLeft = 0x0002;
inline constexpr uint16_t PadDown = 0x0004;
inline constexpr uint16_t PadUp = 0x0008;
inline constexpr uint16_t Start = 0x0010;
inline constexpr uint16_t TriggerZ = 0x0020;
inline constexpr uint16_t B = 0x0040;
inline constexpr uint16_t A = 0x0080;
inline constexpr uint16_t CRight = 0x0100;
inline constexpr uint16_t CLeft = 0x0200;
inline constexpr uint16_t CDown = 0x0400;
inline constexpr uint16_t CUp = 0x0800;
inline constexpr uint16_t TriggerLeft = 0x1000;
inline constexpr uint16_t TriggerRight = 0x2000;
}  // namespace ButtonBit

inline constexpr int8_t kFullDeflection = 64;

inline void ClearButtonState(ButtonState* state) { *state = ButtonState{}; }
inline void CopyButtonState(ButtonState* destination, const ButtonState* source) { *destination = *source; }
