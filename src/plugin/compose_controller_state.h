#pragma once

#include "config/controller_config.h"
#include "plugin/button_state.h"

// Reads the device `record` names into a fresh snapshot and builds its state word into `out`.
// Leaves `out` untouched when the record names no device slot.
void ComposeControllerState(const ControllerConfig& record, ButtonState* out);
