// How one exchange of a game goes: the record a player sends for a poll, and when the records that
// came back complete the exchange. A game's mode follows the game the library started; there is
// one mode so far, the classic one, which every build of the plug-in speaks.
#pragma once

#include "netplay/exchange_record.h"
#include "netplay/session_machine.h"

#include <cstdint>

class ExchangeMode {
public:
    virtual ExchangeRecord RecordFor(const ExchangeRequest& request) const = 0;
    // After a positive result: false sends the same record again.
    virtual bool Complete(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                          const ExchangeRequest& request) const = 0;

protected:
    ~ExchangeMode() = default;  // modes are constants, never deleted through this
};

// The mode of the game the library started under `gameName` (the name may be null).
const ExchangeMode& ExchangeModeForGame(const char* gameName);
