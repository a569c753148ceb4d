#include "self_check.h"

#include "x_keyboard.h"

#include <cstdio>
#include <iterator>

namespace {

struct Step {
    const char* keys;  // X key names, held together
    ButtonState expected;
};

// The default keyboard layout: arrows for the stick, Home for D-pad up, left Shift for A, "a" for L,
// Space for Start, "z" for Z. The last combination is the one in the screenshot.
const Step kSteps[] = {
    {"Up Down", {0, 0, -64}},  // both stick keys: down wins
    {"Home Shift_L a", {ButtonBit::PadUp | ButtonBit::A | ButtonBit::TriggerLeft, 0, 0}},
    {"Left Up space z Shift_L", {ButtonBit::Start | ButtonBit::TriggerZ | ButtonBit::A, -64, 64}},
};

bool Same(const ButtonState& a, const ButtonState& b) {
    return a.buttons == b.buttons && a.stickX == b.stickX && a.stickY == b.stickY;
}

// Keeps the window and its poll timer running while waiting.
template <typename Condition>
bool PumpUntil(Condition condition, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (condition()) return true;
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// xdotool presses the keys one after another, so the word passes through partial combinations:
// it is judged once it has stayed the same for a while.
ButtonState SettledWord(const ButtonState& controller1) {
    constexpr ULONGLONG kSettleMs = 300;
    ButtonState last = controller1;
    ULONGLONG changed = GetTickCount64();
    PumpUntil(
        [&] {
            if (!Same(controller1, last)) {
                last = controller1;
                changed = GetTickCount64();
            }
            return !Same(last, ButtonState{}) && GetTickCount64() - changed >= kSettleMs;
        },
        5000);
    return last;
}

void Print(const char* what, const ButtonState& word, bool ok) {
    std::printf("%-24s buttons 0x%04X  stick x %4d y %4d  %s\n", what, word.buttons, word.stickX, word.stickY,
                ok ? "ok" : "WRONG");
    std::fflush(stdout);
}

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

void WriteScreenRectangle(HWND window, const char* path) {
    RECT r{};
    GetWindowRect(window, &r);
    if (FILE* file = std::fopen(path, "w")) {
        std::fprintf(file, "%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
        std::fclose(file);
    }
}

}  // namespace

bool SelfCheck::MapControllerOneToKeyboard() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tavik\\Tavik_Di\\Controller0", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG result = RegSetValueExA(key, "DIDevice", 0, REG_SZ, reinterpret_cast<const BYTE*>("0"), 2);
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

int SelfCheck::Run(HWND window, const ButtonState& controller1, const char* readyFile, const char* doneFile) {
    // DirectInput's keyboard reads only while the host window has the focus.
    SetForegroundWindow(window);
    SetFocus(window);
    if (!PumpUntil([&] { return GetForegroundWindow() == window; }, 3000)) {
        std::fprintf(stderr, "self-check: the demo window could not take the keyboard focus\n");
        return 1;
    }
    bool allRight = true;
    for (const Step& step : kSteps) {
        if (!XKeyboard::KeyDown(step.keys)) {
            std::fprintf(stderr, "self-check: could not start /usr/bin/xdotool\n");
            return 1;
        }
        const ButtonState word = SettledWord(controller1);
        const bool right = Same(word, step.expected);
        Print(step.keys, word, right);
        allRight &= right;
        if (readyFile && &step == &kSteps[std::size(kSteps) - 1]) {
            WriteScreenRectangle(window, readyFile);
            PumpUntil([&] { return Exists(doneFile); }, 20000);
        }
        XKeyboard::KeyUp(step.keys);
        const bool idle = PumpUntil([&] { return Same(controller1, ButtonState{}); }, 5000);
        if (!idle) Print("(released)", controller1, false);
        allRight &= idle;
    }
    std::printf("self-check: %s\n", allRight ? "passed" : "FAILED");
    return allRight ? 0 : 1;
}
