#include "ui/tuning_edit.h"

void ApplyTuningEdit(HWND dialog, const TuningEdit& edit, ControllerConfig& record, bool showStored) {
    BOOL isNumber = FALSE;
    const UINT typed = GetDlgItemInt(dialog, edit.id, &isNumber, FALSE);
    if (isNumber && static_cast<int64_t>(typed) >= edit.minimum && static_cast<int64_t>(typed) <= edit.maximum)
        record.*edit.field = static_cast<int32_t>(typed);
    if (showStored && (!isNumber || static_cast<int64_t>(typed) != edit.effective(record)))
        SetDlgItemInt(dialog, edit.id, static_cast<UINT>(edit.effective(record)), FALSE);
}
