#include "netplay/exchange_mode.h"

namespace {

// One exchange per poll: the poll count and the local state, sent until no player's record is
// older than ours.
class ClassicExchange final : public ExchangeMode {
public:
    constexpr ClassicExchange() = default;
    ExchangeRecord RecordFor(const ExchangeRequest& request) const override {
        return ExchangeRecord{request.pollCount, request.localState};
    }
    bool Complete(const ExchangeRecord (&records)[kMaxNetplayPlayers], int32_t playerCount,
                  const ExchangeRequest& request) const override {
        return ExchangeComplete(records, playerCount, request.pollCount);
    }
};

// Constant-initialised: nothing runs at load or unload.
constexpr ClassicExchange kClassic;

}  // namespace

const ExchangeMode& ExchangeModeForGame(const char*) { return kClassic; }
