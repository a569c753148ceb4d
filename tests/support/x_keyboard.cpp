#include "x_keyboard.h"

#include <windows.h>

#include <vector>

namespace {
bool RunXdotool(const std::string& arguments) {
    std::string command = "/usr/bin/xdotool " + arguments;
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Wine runs a Unix binary but gives back no process handle to wait on.
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    if (process.hProcess) CloseHandle(process.hProcess);
    if (process.hThread) CloseHandle(process.hThread);
    return true;
}
}  // namespace

bool XKeyboard::KeyDown(const std::string& keys) { return RunXdotool("keydown " + keys); }
bool XKeyboard::KeyUp(const std::string& keys) { return RunXdotool("keyup " + keys); }
