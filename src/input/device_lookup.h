// Finding a controller's device by its stored instance identity in a table or a dialog's listing.
#pragma once

#include "config/controller_config.h"
#include "input/device_table.h"

#include <cstring>

static_assert(sizeof(GUID) == sizeof(DeviceIdentity));

// The slot of `slots` holding the device `identity` names, or -1 (also for no identity).
template <typename Slot>
int32_t SlotOfDevice(const Slot (&slots)[kMaxDevices], const DeviceIdentity& identity) {
    if (IsEmpty(identity)) return -1;
    for (int32_t index = 0; index < kMaxDevices; ++index)
        if (slots[index].kind != DeviceNone && std::memcmp(&slots[index].instanceGuid, &identity, sizeof identity) == 0)
            return index;
    return -1;
}

// Whether a slot holds the device the record chose. A record without a stored identity takes
// whatever its slot holds, as records always have.
inline bool HoldsChosenDevice(const GUID& slotInstance, const ControllerConfig& record) {
    return IsEmpty(record.DeviceGuid) || std::memcmp(&slotInstance, &record.DeviceGuid, sizeof(GUID)) == 0;
}

// The slot of `table` holding the device `record` chose, or null: no table, no slot named, an empty
// slot, or a pad missing from the table whose slot another device took.
inline const DeviceSlot* ChosenSlot(const DeviceTable* table, const ControllerConfig& record) {
    const int32_t index = record.DIDevice;
    if (!table || index < 0 || index >= kMaxDevices) return nullptr;
    const DeviceSlot& slot = table->slots[index];
    return slot.device && HoldsChosenDevice(slot.instanceGuid, record) ? &slot : nullptr;
}
