#include "netplay/poll_rounds.h"

bool PollRounds::BeginsRound(int32_t controller) {
    if (controller < 0 || controller > 3) return false;
    const uint8_t bit = static_cast<uint8_t>(1u << controller);
    if (polledThisRound_ != 0 && !(polledThisRound_ & bit)) {
        polledThisRound_ |= bit;
        return false;
    }
    polledThisRound_ = bit;
    return true;
}
