// The test's handle on the fake xinput1_4.dll that the plug-in binds in place of the system's.
#pragma once

#include "../fakes/xinput/fake_xinput_control.h"
#include "input/xinput/xinput_gamepad.h"

#include <windows.h>

class FakeXInput {
public:
    // Loads the fake from the program's folder (the plug-in, binding later, gets the same one) and
    // resets it: every pad disconnected.
    FakeXInput();
    ~FakeXInput();
    FakeXInput(const FakeXInput&) = delete;
    FakeXInput& operator=(const FakeXInput&) = delete;

    void SetConnected(int32_t pad, bool connected) { setConnected_(pad, connected); }
    void Set(int32_t pad, const XInputGamepad& gamepad) { setGamepad_(pad, &gamepad); }
    // Speeds of the last vibration the pad took, and how many it took.
    int32_t Vibration(int32_t pad, uint16_t& left, uint16_t& right) const { return getVibration_(pad, &left, &right); }
    int32_t EmptyAsks(int32_t pad, DWORD threadId = 0) const { return emptyAsks_(pad, threadId); }
    void SetEmptyAskDelay(DWORD milliseconds) { setEmptyAskDelay_(milliseconds); }

private:
    HMODULE module_ = nullptr;
    FakeXi_SetConnected_t setConnected_ = nullptr;
    FakeXi_SetGamepad_t setGamepad_ = nullptr;
    FakeXi_GetVibration_t getVibration_ = nullptr;
    FakeXi_EmptyAsks_t emptyAsks_ = nullptr;
    FakeXi_SetEmptyAskDelay_t setEmptyAskDelay_ = nullptr;
};
