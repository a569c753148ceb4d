#include "netplay_switch.h"

#include "dialog_driver.h"
#include "watchdog.h"

namespace {
constexpr int kEnableKaillera = 1061;
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
