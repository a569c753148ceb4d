#include "config/device_identity.h"

#include <cstdio>
#include <cstring>

bool IsEmpty(const DeviceIdentity& identity) { return identity == DeviceIdentity{}; }

bool operator==(const DeviceIdentity& a, const DeviceIdentity& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void FormatDeviceIdentity(const DeviceIdentity& g, char (&text)[kDeviceIdentityTextSize]) {
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.data1), g.data2, g.data3, g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                  g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}
}  // namespace

DeviceIdentity ParseDeviceIdentity(std::string_view text) {
    constexpr std::string_view kShape = "{00000000-0000-0000-0000-000000000000}";
    if (text.size() != kShape.size()) return {};
    uint8_t bytes[16] = {};
    int nibble = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (kShape[i] != '0') {
            if (text[i] != kShape[i]) return {};
            continue;
        }
        const int digit = HexDigit(text[i]);
        if (digit < 0) return {};
        bytes[nibble / 2] = static_cast<uint8_t>(bytes[nibble / 2] << 4 | digit);
        ++nibble;
    }
    DeviceIdentity g{};
    g.data1 = uint32_t{bytes[0]} << 24 | uint32_t{bytes[1]} << 16 | uint32_t{bytes[2]} << 8 | bytes[3];
    g.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
    g.data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
    std::memcpy(g.data4, bytes + 8, 8);
    return g;
}
