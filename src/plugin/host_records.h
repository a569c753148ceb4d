// The records the host hands to GetDllInfo and InitiateControllers. Their layout is the host's.
#pragma once

#include <cstddef>
#include <cstdint>

struct PluginInfo {
    uint16_t version;  // 0x0100
    uint16_t type;     // 4: controller plug-in
    char name[100];
    int32_t normalMemory;  // first flag
    int32_t memorySwapped; // second flag
};
static_assert(sizeof(PluginInfo) == 112);
static_assert(offsetof(PluginInfo, name) == 4 && offsetof(PluginInfo, normalMemory) == 104 &&
              offsetof(PluginInfo, memorySwapped) == 108);

struct ControlSlot {
    int32_t present;
    int32_t rawData;
    int32_t pakKind;
};
static_assert(sizeof(ControlSlot) == 12);

inline constexpr uint16_t kPluginSpecVersion = 0x0100;
inline constexpr uint16_t kControllerPluginType = 4;
inline constexpr int32_t kNoPak = 1;
