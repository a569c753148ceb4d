#pragma once

#include "config/controller_config.h"
#include "input/device_table.h"
#include "input/button_state.h"

// Reads the device of `table` that `record` names into a fresh snapshot and builds its state word
// into `out`. Leaves `out` untouched when the record's device is not in the table.
void ComposeControllerState(const DeviceTable* table, const ControllerConfig& record, ButtonState* out);
