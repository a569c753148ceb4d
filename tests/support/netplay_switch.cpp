#include "netplay_switch.h"

#include "dialog_driver.h"
#include "watchdog.h"

namespace {
constexpr int kEnableKaillera = 1061;
}

HWND NetplayLogWindow() {
    // This process's: two hosts on one desktop each have one.
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, "#32770", "Tavik_Di - Kaillera Log"))) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) return window;
    }
    return nullptr;
}

std::string NetplayLogText() {
    HWND log = NetplayLogWindow() ? GetDlgItem(NetplayLogWindow(), 1069) : nullptr;
    if (!log) return {};
    std::string text(static_cast<size_t>(GetWindowTextLengthA(log)) + 1, '\0');
    GetWindowTextA(log, text.data(), static_cast<int>(text.size()));
    text.resize(text.size() - 1);
    return text;
}

std::string EnableNetplayInConfigDialog(const PluginApi& plugin, HWND parent, bool on) {
    ModalRun config([&] { plugin.DllConfig(parent); });
    HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
    if (!dialog) return "the configuration dialog did not open";
    if (!WaitUntil([&] { return Dialogs::Enabled(dialog, kEnableKaillera); }))
        return "\"Enable Kaillera\" stayed disabled: the library is not bound";
    if (Dialogs::Checked(dialog, kEnableKaillera) != on) Dialogs::Click(dialog, kEnableKaillera);
    const bool switched = WaitUntil([&] { return Dialogs::Checked(dialog, kEnableKaillera) == on; });
    Dialogs::Cancel(dialog);
    if (!config.WaitFinished()) return "the configuration dialog did not close";
    return switched ? "" : "\"Enable Kaillera\" could not be switched";
}
