// A host that ends its process with the plug-in still loaded and its devices acquired, as an
// emulator closed from the task bar does. The plug-in's shut-down then runs while the process
// terminates and must not block it.
#include "input/button_state.h"
#include "plugin/host_records.h"

#include <windows.h>

int main() {
    // Under the fake DirectInput, give it devices to acquire (else "No device found" would wait).
    if (HMODULE fake = LoadLibraryA("dinput.dll")) {
        using Add = int32_t(__cdecl*)(const char*, const uint8_t*);
        using AddJoystick = int32_t(__cdecl*)(const char*, const uint8_t*, int32_t);
        if (auto addKeyboard = reinterpret_cast<Add>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeDi_AddKeyboard"))))
            addKeyboard("Keyboard", nullptr);
        if (auto addJoystick =
                reinterpret_cast<AddJoystick>(reinterpret_cast<void*>(GetProcAddress(fake, "FakeDi_AddJoystick"))))
            addJoystick("Pad", nullptr, 1);
    }
    HMODULE plugin = LoadLibraryA("Tavik_DI.dll");
    if (!plugin) return 2;
    auto initiate = reinterpret_cast<void(__cdecl*)(HWND, ControlSlot*)>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "InitiateControllers")));
    auto getKeys = reinterpret_cast<void(__cdecl*)(int32_t, ButtonState*)>(
        reinterpret_cast<void*>(GetProcAddress(plugin, "GetKeys")));
    HWND window = CreateWindowA("STATIC", "exit host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                nullptr, nullptr, nullptr);
    ControlSlot slots[4];
    initiate(window, slots);
    ButtonState word{};
    getKeys(0, &word);
    return 0;  // no FreeLibrary, no CloseDLL
}
