// The 8-byte record a player sends each exchange, and the test for a complete exchange.
#pragma once

#include "input/button_state.h"

#include <cstdint>

struct ExchangeRecord {
    uint32_t pollCount;  // the sender's poll count when it sent the record
    ButtonState state;
};
static_assert(sizeof(ExchangeRecord) == 8, "the library moves exactly 8 bytes per player");

inline constexpr int kMaxNetplayPlayers = 4;

// True when none of the first `playerCount` records lags behind `localPollCount`. A record ahead of
// ours is fine: that player has simply polled more.
bool ExchangeComplete(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                      uint32_t localPollCount);

// Copies the players' states into their controllers' entries; the others keep their values.
void TakeExchangedStates(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                         ButtonState (&states)[kMaxNetplayPlayers]);
