#include "input/xinput/xinput_library.h"

#include "input/xinput/xinput_gamepad.h"

#include <cstddef>
#include <initializer_list>

static_assert(sizeof(XINPUT_GAMEPAD) == sizeof(XInputGamepad));
static_assert(offsetof(XINPUT_GAMEPAD, bLeftTrigger) == offsetof(XInputGamepad, leftTrigger) &&
              offsetof(XINPUT_GAMEPAD, sThumbLX) == offsetof(XInputGamepad, thumbLX) &&
              offsetof(XINPUT_GAMEPAD, sThumbRY) == offsetof(XInputGamepad, thumbRY));

namespace {

INIT_ONCE bound = INIT_ONCE_STATIC_INIT;
XInputFunctions functions{};

BOOL CALLBACK Bind(PINIT_ONCE, PVOID, PVOID* result) {
    for (const char* name : {"xinput1_4.dll", "xinput9_1_0.dll", "xinput1_3.dll"}) {
        // Kept for the life of the process: a poll on the host's emulation thread may be inside it
        // when the host lets us go, and freeing it from our detach would run its own (which ends
        // its reading thread) under the loader lock.
        const HMODULE module = LoadLibraryA(name);
        if (!module) continue;
        functions.getState = reinterpret_cast<decltype(functions.getState)>(
            reinterpret_cast<void*>(GetProcAddress(module, "XInputGetState")));
        functions.setState = reinterpret_cast<decltype(functions.setState)>(
            reinterpret_cast<void*>(GetProcAddress(module, "XInputSetState")));
        if (functions.getState && functions.setState) {
            *result = &functions;
            return TRUE;
        }
        functions = {};
        FreeLibrary(module);
    }
    *result = nullptr;
    return TRUE;
}

}  // namespace

const XInputFunctions* XInputLibrary() {
    void* result = nullptr;
    if (!InitOnceExecuteOnce(&bound, Bind, nullptr, &result)) return nullptr;
    return static_cast<const XInputFunctions*>(result);
}
