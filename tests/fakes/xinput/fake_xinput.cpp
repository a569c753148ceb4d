// Stand-in for xinput1_4.dll, placed beside the test programs (Wine prefers a DLL there that has
// no Microsoft version resource over its builtin one). It follows Microsoft's XInput reference:
// - XInputGetState(user index 0..3, XINPUT_STATE*) gives ERROR_SUCCESS and the pad's state, or
//   ERROR_DEVICE_NOT_CONNECTED for a pad that is not there, leaving the state alone; an index past
//   3 gives ERROR_BAD_ARGUMENTS. The packet number changes whenever the state does.
// - XInputSetState(user index, XINPUT_VIBRATION*) gives ERROR_SUCCESS or ERROR_DEVICE_NOT_CONNECTED;
//   the motors keep the last speeds until the next call (XInput has no duration).
// - Asking for a pad that is not there is slow on Windows; a test can make it so here.
// - Any thread may call at any time: one lock guards everything, as the test thread changes pads
//   while the plug-in reads them on its own threads.
#include "fake_xinput_control.h"

#include <windows.h>
#include <xinput.h>

#include <map>
#include <mutex>

namespace {

struct Pad {
    bool connected = false;
    XINPUT_STATE state{};
    XINPUT_VIBRATION vibration{};
    int32_t vibrationCalls = 0;
    std::map<DWORD, int32_t> emptyAsks;  // by calling thread
};

struct Fake {
    std::mutex mutex;
    Pad pads[XUSER_MAX_COUNT];
    DWORD emptyAskDelayMs = 0;
};

Fake& TheFake() {
    static Fake fake;
    return fake;
}

bool ValidPad(int32_t pad) { return pad >= 0 && pad < XUSER_MAX_COUNT; }

}  // namespace

extern "C" {

DWORD WINAPI XInputGetState(DWORD index, XINPUT_STATE* state) {
    if (index >= XUSER_MAX_COUNT || !state) return ERROR_BAD_ARGUMENTS;
    Fake& fake = TheFake();
    DWORD delay = 0;
    {
        const std::lock_guard lock(fake.mutex);
        Pad& pad = fake.pads[index];
        if (pad.connected) {
            *state = pad.state;
            return ERROR_SUCCESS;
        }
        ++pad.emptyAsks[GetCurrentThreadId()];
        delay = fake.emptyAskDelayMs;
    }
    if (delay) Sleep(delay);
    return ERROR_DEVICE_NOT_CONNECTED;
}

DWORD WINAPI XInputSetState(DWORD index, XINPUT_VIBRATION* vibration) {
    if (index >= XUSER_MAX_COUNT || !vibration) return ERROR_BAD_ARGUMENTS;
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    Pad& pad = fake.pads[index];
    if (!pad.connected) return ERROR_DEVICE_NOT_CONNECTED;
    pad.vibration = *vibration;
    ++pad.vibrationCalls;
    return ERROR_SUCCESS;
}

void __cdecl FakeXi_Reset(void) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    for (Pad& pad : fake.pads) pad = Pad{};
    fake.emptyAskDelayMs = 0;
}

void __cdecl FakeXi_SetConnected(int32_t pad, int32_t connected) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    if (ValidPad(pad)) fake.pads[pad].connected = connected != 0;
}

void __cdecl FakeXi_SetGamepad(int32_t pad, const void* gamepad) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    if (!ValidPad(pad) || !gamepad) return;
    XINPUT_STATE& state = fake.pads[pad].state;
    memcpy(&state.Gamepad, gamepad, sizeof state.Gamepad);
    ++state.dwPacketNumber;
}

int32_t __cdecl FakeXi_GetVibration(int32_t pad, uint16_t* left, uint16_t* right) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    if (!ValidPad(pad)) return 0;
    if (left) *left = fake.pads[pad].vibration.wLeftMotorSpeed;
    if (right) *right = fake.pads[pad].vibration.wRightMotorSpeed;
    return fake.pads[pad].vibrationCalls;
}

int32_t __cdecl FakeXi_EmptyAsks(int32_t pad, uint32_t threadId) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    if (!ValidPad(pad)) return 0;
    int32_t asks = 0;
    for (const auto& [thread, count] : fake.pads[pad].emptyAsks)
        if (!threadId || thread == threadId) asks += count;
    return asks;
}

void __cdecl FakeXi_SetEmptyAskDelay(uint32_t milliseconds) {
    Fake& fake = TheFake();
    const std::lock_guard lock(fake.mutex);
    fake.emptyAskDelayMs = milliseconds;
}

}  // extern "C"
