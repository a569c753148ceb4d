#include "netplay/exchange_record.h"

namespace {
int32_t PlayersInBuffer(int32_t playerCount) {
    return playerCount < 0 ? 0 : (playerCount > kMaxNetplayPlayers ? kMaxNetplayPlayers : playerCount);
}
}  // namespace

bool ExchangeComplete(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                      uint32_t localPollCount) {
    for (int32_t i = 0; i < PlayersInBuffer(playerCount); ++i)
        if (records[i].pollCount < localPollCount) return false;
    return true;
}

void TakeExchangedStates(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                         ButtonState (&states)[kMaxNetplayPlayers]) {
    for (int32_t i = 0; i < PlayersInBuffer(playerCount); ++i) states[i] = records[i].state;
}
