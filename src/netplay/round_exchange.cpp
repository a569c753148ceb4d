#include "netplay/round_exchange.h"

#include <algorithm>

ExchangeRecord RoundRecord(uint32_t round, ButtonState state) { return {kRoundTag | (round & kRoundMask), state}; }

ExchangeRecord RoundExchange::Outgoing(ButtonState local) { return RoundRecord(sent_++, local); }

RoundExchange::Outcome RoundExchange::Take(int32_t result, const ExchangeRecord (&records)[kMaxNetplayPlayers],
                                           int32_t playerCount) {
    const uint32_t expected = answered_ & kRoundMask;
    if (result <= 0) {
        if (delay_ < 0) return Outcome::Delaying;
        // Once answers flow, each call answers one round; a call that answers none lost a round.
        fault_ = {OutOfStep::Kind::NoAnswer, 0, 0, expected};
        return Outcome::OutOfStep;
    }
    const int32_t players = std::clamp(playerCount, 0, kMaxNetplayPlayers);
    for (int32_t i = 0; i < players; ++i) {
        const uint32_t word = records[i].pollCount;
        if ((word & ~kRoundMask) != kRoundTag) {
            fault_ = {OutOfStep::Kind::ClassicRecord, i + 1, word, expected};
            return Outcome::OutOfStep;
        }
        if ((word & kRoundMask) != expected) {
            fault_ = {OutOfStep::Kind::OtherRound, i + 1, word & kRoundMask, expected};
            return Outcome::OutOfStep;
        }
    }
    TakeExchangedStates(records, playerCount, states_);
    ++answered_;
    if (delay_ >= 0) return Outcome::Played;
    delay_ = static_cast<int32_t>(sent_ - answered_);
    return Outcome::DelayKnown;
}
