// The full-speed exchange: one library call per round of polls. The library answers each call with
// every player's record of the call D calls earlier (the first D calls answer nothing), so all
// players apply the same inputs to the same rounds, D rounds late. The record keeps the classic 8
// bytes; its first word carries the round number under a tag, which a classic record's poll count
// never reaches, so a classic peer or a round out of step is seen at once instead of desyncing.
#pragma once

#include "netplay/exchange_record.h"

#include <cstdint>

inline constexpr uint32_t kRoundTag = 0x7D000000u;
inline constexpr uint32_t kRoundMask = 0x00FFFFFFu;  // round numbers wrap here (77 hours at 60 Hz)

ExchangeRecord RoundRecord(uint32_t round, ButtonState state);

// What stopped a game: the first player (1-based) whose record was not the expected round.
struct OutOfStep {
    enum class Kind { ClassicRecord, OtherRound, NoAnswer } kind;
    int32_t player;        // 0 for NoAnswer
    uint32_t round;        // the round that player's record carried
    uint32_t expected;
};

class RoundExchange {
public:
    enum class Outcome {
        Delaying,    // within the first D rounds: no one's input yet
        DelayKnown,  // the first answer: D is known now, and this round is played
        Played,
        OutOfStep,
    };

    // The record to send for the next round.
    ExchangeRecord Outgoing(ButtonState local);
    // The library's answer to that round's call (any result but -1, the game's end). Played rounds
    // take the players' states; the others leave them as they are.
    Outcome Take(int32_t result, const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount);
    // What the latest round delivers, per controller: nothing during the first D rounds.
    const ButtonState (&States() const)[kMaxNetplayPlayers] { return states_; }
    // D, in rounds; -1 until the first answer.
    int32_t Delay() const { return delay_; }
    const OutOfStep& Fault() const { return fault_; }

private:
    uint32_t sent_ = 0;      // rounds sent
    uint32_t answered_ = 0;  // rounds answered: the next answer must be this round
    int32_t delay_ = -1;
    OutOfStep fault_{};
    ButtonState states_[kMaxNetplayPlayers]{};
};
