#include "netplay/netplay_games.h"

#include <cstring>

ExchangeKind ExchangeKindOfGame(const char* gameName) {
    return gameName && std::strcmp(gameName, kFullSpeedGameName) == 0 ? ExchangeKind::PerRound
                                                                       : ExchangeKind::PerPoll;
}

#include <string_view>

// The list is spelled out once for the library; it must name exactly the two games above.
static_assert(std::string_view(kOfferedGames) == kClassicGameName);
static_assert(std::string_view(kOfferedGames + sizeof kClassicGameName) == kFullSpeedGameName);
static_assert(sizeof kOfferedGames == sizeof kClassicGameName + sizeof kFullSpeedGameName + 1);
