#include "netplay_switch.h"

#include "dialog_driver.h"
#include "watchdog.h"

namespace {
constexpr int kEnableKaillera = 1061;
}

std::string EnableNetplayInConfigDialog(const PluginApi& plugin, HWND parent) {
    ModalRun config([&] { plugin.DllConfig(parent); });
    HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
    if (!dialog) return "the configuration dialog did not open";
    if (!WaitUntil([&] { return Dialogs::Enabled(dialog, kEnableKaillera); }))
        return "\"Enable Kaillera\" stayed disabled: the library is not bound";
    Dialogs::Click(dialog, kEnableKaillera);
    const bool checked = WaitUntil([&] { return Dialogs::Checked(dialog, kEnableKaillera); });
    Dialogs::Cancel(dialog);
    if (!config.WaitFinished()) return "the configuration dialog did not close";
    return checked ? "" : "\"Enable Kaillera\" could not be ticked";
}
