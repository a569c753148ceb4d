// Reading a device snapshot, re-acquiring a device that DirectInput reports lost or not acquired.
// Kept free of <windows.h> (result codes as plain integers) so the retry bound is tested natively.
#pragma once

#include <cstdint>

namespace DeviceResult {
inline constexpr int32_t InputLost = static_cast<int32_t>(0x8007001E);    // DIERR_INPUTLOST
inline constexpr int32_t NotAcquired = static_cast<int32_t>(0x8007000C);  // DIERR_NOTACQUIRED
inline constexpr int32_t AccessDenied = static_cast<int32_t>(0x80070005); // E_ACCESSDENIED
}  // namespace DeviceResult

// A device whose Acquire keeps failing must not stall the host's poll: a few re-acquisitions per
// read, then the caller uses its zeroed snapshot.
inline constexpr int kMaxReacquiresPerRead = 3;

// `read()` and `acquire()` return result codes. Returns the last read's result.
template <typename Read, typename Acquire>
int32_t ReadWithReacquire(Read read, Acquire acquire) {
    int32_t result = read();
    for (int attempt = 0; attempt < kMaxReacquiresPerRead; ++attempt) {
        if (result != DeviceResult::InputLost && result != DeviceResult::NotAcquired) break;
        // Another application has the device (or ours is in the background): nothing to retry.
        if (acquire() == DeviceResult::AccessDenied) break;
        result = read();
    }
    return result;
}
