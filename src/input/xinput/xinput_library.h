// The system's XInput, bound at its first need and never in DllMain: xinput1_4.dll (Windows 8 and
// later), else xinput9_1_0.dll (Vista and later), else xinput1_3.dll (the DirectX redistributable).
#pragma once

#include <windows.h>
#include <xinput.h>

struct XInputFunctions {
    DWORD(WINAPI* getState)(DWORD pad, XINPUT_STATE* state);
    DWORD(WINAPI* setState)(DWORD pad, XINPUT_VIBRATION* vibration);
};

// Null when no XInput library is present. The first call binds it (from any thread but the
// loader's); every later call only reads the result.
const XInputFunctions* XInputLibrary();
