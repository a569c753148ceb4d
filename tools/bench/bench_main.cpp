// Cost of a GetKeys poll against a bare GetDeviceState on the same device (Wine's own keyboard),
// measured in one run, interleaved so that both see the same machine load.
#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>
#include <psapi.h>

#include "plugin/button_state.h"
#include "plugin/host_records.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kRounds = 7;
constexpr int kCallsPerRound = 20000;

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

template <typename Call>
double NanosecondsPerCall(Call call) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCallsPerRound; ++i) call();
    QueryPerformanceCounter(&end);
    return Seconds(start, end) * 1e9 / kCallsPerRound;
}

HWND CreateHostWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "TavikBenchHost";
    RegisterClassA(&wc);
    HWND window = CreateWindowA("TavikBenchHost", "Tavik_DI bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                                nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    return window;
}

SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.PagefileUsage;
}

}  // namespace

int main() {
    // Controller 0 on the first device, the keyboard, as the user would have saved it.
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tavik\\Tavik_Di\\Controller0", 0, nullptr, 0, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    RegSetValueExA(key, "DIDevice", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);

    HWND window = CreateHostWindow();
    HMODULE plugin = LoadLibraryA("Tavik_DI.dll");
    if (!plugin) {
        std::fprintf(stderr, "bench: Tavik_DI.dll not found\n");
        return 1;
    }
    auto initiate = reinterpret_cast<void(__cdecl*)(HWND, ControlSlot*)>(reinterpret_cast<void*>(GetProcAddress(plugin, "InitiateControllers")));
    auto getKeys = reinterpret_cast<void(__cdecl*)(int32_t, ButtonState*)>(reinterpret_cast<void*>(GetProcAddress(plugin, "GetKeys")));
    ControlSlot slots[4];
    initiate(window, slots);

    IDirectInput7A* directInput = nullptr;
    IDirectInputDevice7A* keyboard = nullptr;
    DirectInputCreateEx(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                        reinterpret_cast<void**>(&directInput), nullptr);
    directInput->CreateDeviceEx(GUID_SysKeyboard, IID_IDirectInputDevice7A, reinterpret_cast<void**>(&keyboard),
                                nullptr);
    keyboard->SetDataFormat(&c_dfDIKeyboard);
    keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND);
    keyboard->Acquire();

    ButtonState word{};
    BYTE keys[256];
    getKeys(0, &word);  // creates the plug-in's devices
    const SIZE_T before = PrivateBytes();
    double bare = 1e30, poll = 1e30;
    for (int round = 0; round < kRounds; ++round) {
        bare = std::min(bare, NanosecondsPerCall([&] { keyboard->GetDeviceState(sizeof keys, keys); }));
        poll = std::min(poll, NanosecondsPerCall([&] { getKeys(0, &word); }));
    }
    const SIZE_T after = PrivateBytes();

    std::printf("GetKeys poll (keyboard)        %8.0f ns\n", poll);
    std::printf("bare GetDeviceState (keyboard) %8.0f ns\n", bare);
    std::printf("ratio GetKeys / GetDeviceState %8.2fx  (target < 1.2x)\n", poll / bare);
    std::printf("private bytes over %d polls   %+8lld bytes\n", kRounds * kCallsPerRound,
                static_cast<long long>(after) - static_cast<long long>(before));

    keyboard->Unacquire();
    keyboard->Release();
    directInput->Release();
    FreeLibrary(plugin);
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tavik");
    return 0;
}
