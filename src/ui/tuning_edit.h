// A number field of a dialog bound to one value of a controller's record, kept within its bounds.
#pragma once

#include "config/controller_config.h"

#include <windows.h>

struct TuningEdit {
    int id;
    int32_t ControllerConfig::*field;
    int32_t minimum, maximum;
    int32_t (*effective)(const ControllerConfig&);
};

// Stores the number typed into `edit`'s field once it is within bounds: half-typed values ("1" on
// the way to "12") are not stored. `showStored` puts the value in force back into the field.
void ApplyTuningEdit(HWND dialog, const TuningEdit& edit, ControllerConfig& record, bool showStored);
