// A device's instance identity as DirectInput reports it (the layout of a GUID), and the text it
// is stored as, "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}".
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

struct DeviceIdentity {
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    uint8_t data4[8];
};
static_assert(sizeof(DeviceIdentity) == 16);

// All zero: no identity stored.
bool IsEmpty(const DeviceIdentity& identity);
bool operator==(const DeviceIdentity& a, const DeviceIdentity& b);

inline constexpr size_t kDeviceIdentityTextSize = 39;  // 38 characters and the terminator
void FormatDeviceIdentity(const DeviceIdentity& identity, char (&text)[kDeviceIdentityTextSize]);
// Text in any other shape gives the empty identity.
DeviceIdentity ParseDeviceIdentity(std::string_view text);
