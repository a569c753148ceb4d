// Which of the host's polls begin a round. A round is the host's polling of its controllers
// between two video frames, each controller at most once: a poll begins a new round when its
// controller was already polled in the current one (the first poll of a game begins the first
// round). Both players run the same emulator on the same game, so their hosts poll alike and count
// the same rounds; no clock takes part, so a slow frame on one side cannot split or merge a round.
#pragma once

#include <cstdint>

class PollRounds {
public:
    // True when this poll of `controller` (0..3) begins a round; other numbers are no poll of a
    // controller and change nothing.
    bool BeginsRound(int32_t controller);
    void Reset() { *this = PollRounds{}; }

private:
    uint8_t polledThisRound_ = 0;  // one bit per controller
};
