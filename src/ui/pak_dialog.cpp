#include "ui/pak_dialog.h"

#include "resources/resource_ids.h"
#include "ui/tuning_edit.h"

#include <cstdio>

namespace {

constexpr const char* kPakNames[] = {"None", "Memory pak", "Rumble pak", "Transfer pak"};
constexpr TuningEdit kStrengthEdit{IDC_RUMBLE_STRENGTH, &ControllerConfig::RumbleStrength, kRumbleStrengthMin,
                                   kRumbleStrengthMax, EffectiveRumbleStrength};

}  // namespace

PakDialog::PakDialog(HWND parent, ControllerConfig& record, const char* controllerName)
    : Dialog(IDD_PAK, parent), record(record), controllerName(controllerName) {}

bool PakDialog::OnInit() {
    char caption[64];
    std::snprintf(caption, sizeof caption, "Tavik_Di - Pak of %s", controllerName);
    SetWindowTextA(Handle(), caption);
    pakList = List(IDC_PAK_LIST);
    for (int pak = PakNone; pak <= PakTransfer; ++pak) pakList.Add(kPakNames[pak], pak);
    pakList.Select(EffectivePak(record));
    SendMessageA(Item(IDC_RUMBLE_STRENGTH).Handle(), EM_LIMITTEXT, 3, 0);
    ApplyTuningEdit(Handle(), kStrengthEdit, record, true);
    OnPakChosen();
    return true;
}

bool PakDialog::OnCommand(int id, int code) {
    if (id == IDC_PAK_LIST && code == CBN_SELENDOK) {
        if (const int position = pakList.Selection(); position >= 0)
            record.Pak = static_cast<int32_t>(pakList.Value(position));
        OnPakChosen();
        return true;
    }
    if (id == IDC_RUMBLE_STRENGTH && (code == EN_CHANGE || code == EN_KILLFOCUS)) {
        ApplyTuningEdit(Handle(), kStrengthEdit, record, code == EN_KILLFOCUS);
        return true;
    }
    return false;
}

// The strength means something only for a rumble pak.
void PakDialog::OnPakChosen() {
    const bool rumble = EffectivePak(record) == PakRumble;
    Item(IDC_RUMBLE_LABEL).Enable(rumble);
    Item(IDC_RUMBLE_STRENGTH).Enable(rumble);
}
