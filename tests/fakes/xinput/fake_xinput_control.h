// Control surface of the stand-in for xinput1_4.dll, resolved by the tests with GetProcAddress.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// All pads disconnected and still, every count at zero, empty slots answered at once.
typedef void(__cdecl* FakeXi_Reset_t)(void);
typedef void(__cdecl* FakeXi_SetConnected_t)(int32_t pad, int32_t connected);
// The pad's whole XINPUT_GAMEPAD (12 bytes); the packet number moves on when it changes.
typedef void(__cdecl* FakeXi_SetGamepad_t)(int32_t pad, const void* gamepad);
// The speeds of the last XInputSetState the pad accepted; returns how many it accepted.
typedef int32_t(__cdecl* FakeXi_GetVibration_t)(int32_t pad, uint16_t* left, uint16_t* right);
// XInputGetState calls on the pad while it was disconnected, by thread `threadId` (0: any).
typedef int32_t(__cdecl* FakeXi_EmptyAsks_t)(int32_t pad, uint32_t threadId);
// How long asking a disconnected pad takes, as it does on Windows.
typedef void(__cdecl* FakeXi_SetEmptyAskDelay_t)(uint32_t milliseconds);

#ifdef __cplusplus
}
#endif
