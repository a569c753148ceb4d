#include "input/read_with_reacquire.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int32_t kOk = 0;
constexpr int32_t kOtherFailure = static_cast<int32_t>(0x80004005);

// Plays back scripted results and counts the calls.
struct Script {
    std::vector<int32_t> reads, acquires;
    size_t readCalls = 0, acquireCalls = 0;
    int32_t Read() { return reads[std::min(readCalls++, reads.size() - 1)]; }
    int32_t Acquire() { return acquires[std::min(acquireCalls++, acquires.size() - 1)]; }
    int32_t Run() {
        return ReadWithReacquire([this] { return Read(); }, [this] { return Acquire(); });
    }
};

TEST(ReadWithReacquire, LostDeviceIsReacquiredAndReadAgain) {
    Script script{{DeviceResult::InputLost, kOk}, {kOk}};
    EXPECT_EQ(script.Run(), kOk);
    EXPECT_EQ(script.readCalls, 2u);
    EXPECT_EQ(script.acquireCalls, 1u);

    Script notAcquired{{DeviceResult::NotAcquired, kOk}, {kOk}};
    EXPECT_EQ(notAcquired.Run(), kOk);
}

TEST(ReadWithReacquire, AccessDeniedStopsAtOnce) {
    Script script{{DeviceResult::InputLost}, {DeviceResult::AccessDenied}};
    EXPECT_EQ(script.Run(), DeviceResult::InputLost);
    EXPECT_EQ(script.readCalls, 1u);
    EXPECT_EQ(script.acquireCalls, 1u);
}

TEST(ReadWithReacquire, OtherResultsAreNotRetried) {
    for (int32_t result : {kOk, kOtherFailure, DeviceResult::AccessDenied}) {
        Script script{{result}, {kOk}};
        EXPECT_EQ(script.Run(), result);
        EXPECT_EQ(script.readCalls, 1u);
        EXPECT_EQ(script.acquireCalls, 0u);
    }
}

TEST(ReadWithReacquire, AcquireThatKeepsFailingIsBounded) {
    Script script{{DeviceResult::InputLost}, {kOtherFailure}};
    EXPECT_EQ(script.Run(), DeviceResult::InputLost);
    EXPECT_EQ(script.acquireCalls, static_cast<size_t>(kMaxReacquiresPerRead));
    EXPECT_EQ(script.readCalls, static_cast<size_t>(kMaxReacquiresPerRead) + 1);
}

}  // namespace
