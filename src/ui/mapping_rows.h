// The 18 assignment rows shared by the keyboard and joystick dialogs: the button the user clicks
// and the field it writes. Each row's label has the button's id plus one.
#pragma once

#include "config/controller_config.h"
#include "resources/resource_ids.h"

#include <cstdint>

struct MappingRow {
    int buttonId;
    int32_t ControllerConfig::*field;
};

inline constexpr int kMappingRowCount = 18;
inline constexpr MappingRow kMappingRows[kMappingRowCount] = {
    {IDC_MAP_START, &ControllerConfig::ButtonStart},
    {IDC_MAP_STICK_UP, &ControllerConfig::StickUp},
    {IDC_MAP_STICK_DOWN, &ControllerConfig::StickDown},
    {IDC_MAP_STICK_LEFT, &ControllerConfig::StickLeft},
    {IDC_MAP_STICK_RIGHT, &ControllerConfig::StickRight},
    {IDC_MAP_PAD_UP, &ControllerConfig::PadUp},
    {IDC_MAP_PAD_DOWN, &ControllerConfig::PadDown},
    {IDC_MAP_PAD_LEFT, &ControllerConfig::PadLeft},
    {IDC_MAP_PAD_RIGHT, &ControllerConfig::PadRight},
    {IDC_MAP_A, &ControllerConfig::ButtonA},
    {IDC_MAP_B, &ControllerConfig::ButtonB},
    {IDC_MAP_C_UP, &ControllerConfig::ButtonUp},
    {IDC_MAP_C_DOWN, &ControllerConfig::ButtonDown},
    {IDC_MAP_C_LEFT, &ControllerConfig::ButtonLeft},
    {IDC_MAP_C_RIGHT, &ControllerConfig::ButtonRight},
    {IDC_MAP_TRIGGER_Z, &ControllerConfig::TriggerZ},
    {IDC_MAP_TRIGGER_LEFT, &ControllerConfig::TriggerLeft},
    {IDC_MAP_TRIGGER_RIGHT, &ControllerConfig::TriggerRight},
};

// The row of an assignment button, or null for any other control.
inline const MappingRow* MappingRowOf(int buttonId) {
    for (const MappingRow& row : kMappingRows)
        if (row.buttonId == buttonId) return &row;
    return nullptr;
}
