#include "x_keyboard.h"

#include <windows.h>

#include <atomic>
#include <vector>

namespace {
// Runs xdotool and waits until it has exited, so that its keys have reached the X server before the
// caller waits for their effect, and a release can never overtake the press it follows.
bool RunXdotool(const std::string& arguments) {
    // Wine runs a Unix program but gives back no process handle to wait on: its end is signalled by
    // a file that the shell creates once xdotool has returned.
    static std::atomic<unsigned> runs{0};
    const std::string name = "tavik-xdotool-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++runs);
    const std::string marker = "Z:\\tmp\\" + name;
    std::string command = "/bin/sh -c \"/usr/bin/xdotool " + arguments + "; : > /tmp/" + name + "\"";
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    // xdotool takes a few milliseconds, or seconds on a loaded machine; the bound only stops a hang.
    // Messages are pumped meanwhile: the keys reach Wine through the focused window's thread, which
    // may be this one.
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (GetFileAttributesA(marker.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    DeleteFileA(marker.c_str());
    return true;
}
}  // namespace

bool XKeyboard::KeyDown(const std::string& keys) { return keys.empty() || RunXdotool("keydown " + keys); }
bool XKeyboard::KeyUp(const std::string& keys) { return keys.empty() || RunXdotool("keyup " + keys); }
