// Finding the key or button a capture takes from a device snapshot.
#pragma once

#include <cstddef>
#include <cstdint>

// The lowest index whose byte reads as held (bit 7), or -1 when none does.
inline int FirstPressed(const uint8_t* bytes, size_t count) {
    for (size_t i = 0; i < count; ++i)
        if (bytes[i] & 0x80) return static_cast<int>(i);
    return -1;
}
