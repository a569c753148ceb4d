#include "netplay/exchange_record.h"
#include "netplay/netplay_games.h"
#include "netplay/netplay_log_lines.h"
#include "netplay/poll_rounds.h"
#include "netplay/round_exchange.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>
#include <vector>

namespace {

ExchangeRecord Record(uint32_t pollCount, uint16_t buttons = 0) { return {pollCount, ButtonState{buttons, 0, 0}}; }

uint32_t StateWordOf(ButtonState state) {
    uint32_t word;
    std::memcpy(&word, &state, sizeof word);
    return word;
}

TEST(ExchangeRecord, CompleteWhenNoPlayerLagsBehind) {
    ExchangeRecord records[4] = {Record(10), Record(12), Record(10), Record(3)};
    EXPECT_TRUE(ExchangeComplete(records, 3, 10));   // ahead is fine; record 3 is not a player
    EXPECT_FALSE(ExchangeComplete(records, 4, 10));  // the fourth lags
    EXPECT_FALSE(ExchangeComplete(records, 2, 11));
    EXPECT_TRUE(ExchangeComplete(records, 0, 1000)) << "no players: nothing to wait for";
    EXPECT_TRUE(ExchangeComplete(records, -3, 1000));
}

TEST(ExchangeRecord, PollCountsCompareUnsigned) {
    ExchangeRecord records[4] = {Record(0x80000000u), Record(0xFFFFFFFFu)};
    EXPECT_TRUE(ExchangeComplete(records, 2, 0x7FFFFFFFu));
    EXPECT_FALSE(ExchangeComplete(records, 2, 0xFFFFFFFFu));
}

TEST(ExchangeRecord, StatesReachTheirControllersAndTheRestKeepTheirs) {
    ExchangeRecord records[4] = {Record(1, 0x11), Record(1, 0x22), Record(1, 0x33), Record(1, 0x44)};
    ButtonState states[4] = {{1, 0, 0}, {2, 0, 0}, {3, 0, 0}, {4, 0, 0}};
    TakeExchangedStates(records, 2, states);
    EXPECT_EQ(states[0].buttons, 0x11);
    EXPECT_EQ(states[1].buttons, 0x22);
    EXPECT_EQ(states[2].buttons, 3);
    EXPECT_EQ(states[3].buttons, 4);
    TakeExchangedStates(records, 9, states);  // never beyond the four records
    EXPECT_EQ(states[3].buttons, 0x44);
}

TEST(NetplayLogLines, FormatTheLinesShownToThePlayer) {
    EXPECT_EQ(GameStartLine("Zelda", 0), "You play to 'Zelda' as controller1\r\n");
    EXPECT_EQ(GameStartLine("Zelda", 3), "You play to 'Zelda' as controller4\r\n");
    EXPECT_EQ(GameStartLine("Zelda", INT32_MAX), "You play to 'Zelda' as controller2147483648\r\n");
    EXPECT_EQ(GameOverLine("Zelda"), "End of 'Zelda' Game\r\n");
    EXPECT_EQ(ChatLine("bob", "hi all"), "<bob> hi all\r\n");
    EXPECT_EQ(PlayerDroppedLine("bob", 2), "Player 2 as bob dropped.\r\n");
}

TEST(NetplayLogLines, NullTextsFromTheLibraryAreLoggedEmpty) {
    EXPECT_EQ(GameStartLine(nullptr, 1), "You play to '' as controller2\r\n");
    EXPECT_EQ(GameOverLine(nullptr), "End of '' Game\r\n");
    EXPECT_EQ(ChatLine(nullptr, nullptr), "<> \r\n");
    EXPECT_EQ(PlayerDroppedLine(nullptr, -1), "Player -1 as  dropped.\r\n");
}

TEST(NetplayLogLines, TextsWithPercentSignsAreNotFormats) {
    EXPECT_EQ(ChatLine("%s%n", "%d %s"), "<%s%n> %d %s\r\n");
}

}  // namespace

namespace {

// The polls that begin a round in a host's sequence of polls: "R..." is one round of four polls.
std::string RoundStarts(const std::vector<int32_t>& polls) {
    PollRounds rounds;
    std::string starts;
    for (int32_t controller : polls) starts += rounds.BeginsRound(controller) ? 'R' : '.';
    return starts;
}

TEST(PollRounds, EachControllerAtMostOncePerRound) {
    EXPECT_EQ(RoundStarts({0, 1, 2, 3, 0, 1, 2, 3}), "R...R...");
    EXPECT_EQ(RoundStarts({0, 0, 0}), "RRR") << "a host that polls one controller";
    EXPECT_EQ(RoundStarts({1, 3, 1, 3}), "R.R.");
    EXPECT_EQ(RoundStarts({3, 2, 1, 0, 3}), "R...R");
    // One controller polled twice in a frame: its second poll begins the next round.
    EXPECT_EQ(RoundStarts({0, 1, 0, 2, 3, 0, 1, 0, 2, 3}), "R.R..R.R..");
    EXPECT_EQ(RoundStarts({-1, 4, 0, 7, 1}), "..R..") << "no controller, no round";
}

TEST(NetplayGames, TheFullSpeedGameIsChosenByItsExactName) {
    EXPECT_EQ(ExchangeKindOfGame(kFullSpeedGameName), ExchangeKind::PerRound);
    EXPECT_EQ(ExchangeKindOfGame(kClassicGameName), ExchangeKind::PerPoll);
    EXPECT_EQ(ExchangeKindOfGame(nullptr), ExchangeKind::PerPoll);
    EXPECT_EQ(ExchangeKindOfGame((std::string(kFullSpeedGameName) + " ").c_str()), ExchangeKind::PerPoll);
}

// A two-player answer whose records carry these first words.
struct Answer {
    ExchangeRecord records[4] = {};
    Answer(uint32_t first0, uint32_t first1, uint16_t buttons1 = 0) {
        records[0] = {first0, {}};
        records[1] = {first1, ButtonState{buttons1, 0, 0}};
    }
};
uint32_t Tagged(uint32_t round) { return RoundRecord(round, {}).pollCount; }
using Outcome = RoundExchange::Outcome;

TEST(RoundExchange, AnswersComeDRoundsLateAndTheDelayIsCounted) {
    EXPECT_EQ(RoundRecord(kRoundMask + 1, {}).pollCount, 0x7D000000u) << "round numbers wrap under the tag";
    RoundExchange exchange;
    const ButtonState (&states)[4] = exchange.States();
    for (int round = 0; round < 3; ++round) {  // D = 3: nothing, and the buffer as it was
        const ExchangeRecord sent = exchange.Outgoing(ButtonState{0x80, 0, 0});
        EXPECT_EQ(sent.pollCount, 0x7D000000u + round);
        EXPECT_EQ(exchange.Take(0, Answer(sent.pollCount, 0).records, 2), Outcome::Delaying);
    }
    EXPECT_EQ(StateWordOf(states[0]), 0u) << "no one's input during the delay";
    exchange.Outgoing({});
    EXPECT_EQ(exchange.Take(16, Answer(Tagged(0), Tagged(0), 0x40).records, 2), Outcome::DelayKnown);
    EXPECT_EQ(exchange.Delay(), 3);
    EXPECT_EQ(states[1].buttons, 0x40);
    exchange.Outgoing({});
    EXPECT_EQ(exchange.Take(16, Answer(Tagged(1), 2).records, 1), Outcome::Played)
        << "only the players' records count";
}

TEST(RoundExchange, AnAnswerOutOfStepStopsTheGameAndNamesThePlayer) {
    struct Case {
        int32_t result;
        Answer answer;
        OutOfStep expected;
    } cases[] = {
        {16, Answer(Tagged(1), 2), {OutOfStep::Kind::ClassicRecord, 2, 2, 1}},
        {16, Answer(Tagged(1), 0x7CFFFFFFu), {OutOfStep::Kind::ClassicRecord, 2, 0x7CFFFFFFu, 1}},
        {16, Answer(Tagged(2), Tagged(1)), {OutOfStep::Kind::OtherRound, 1, 2, 1}},
        {0, Answer(Tagged(1), Tagged(1)), {OutOfStep::Kind::NoAnswer, 0, 0, 1}},  // a lost round
    };
    for (const Case& c : cases) {
        RoundExchange exchange;
        exchange.Outgoing({});
        exchange.Take(16, Answer(Tagged(0), Tagged(0), 7).records, 2);
        exchange.Outgoing({});
        EXPECT_EQ(exchange.Take(c.result, c.answer.records, 2), Outcome::OutOfStep);
        const OutOfStep& fault = exchange.Fault();
        EXPECT_EQ(std::tie(fault.kind, fault.player, fault.round, fault.expected),
                  std::tie(c.expected.kind, c.expected.player, c.expected.round, c.expected.expected));
        EXPECT_EQ(exchange.States()[1].buttons, 7) << "nothing of an answer out of step is taken";
    }
}

TEST(NetplayLogLines, TheFullSpeedGameSaysItsDelayAndWhyItStopped) {
    EXPECT_EQ(InputDelayLine(4), "Input delay : 4 frames\r\n");
    EXPECT_EQ(InputDelayLine(1), "Input delay : 1 frame\r\n");
    EXPECT_EQ(OutOfStepText({OutOfStep::Kind::OtherRound, 2, 12, 10}),
              "Error : player 2 is out of step (round 12 instead of 10), game stopped !!!\r\n");
    EXPECT_EQ(OutOfStepText({OutOfStep::Kind::ClassicRecord, 1, 5, 0}),
              "Error : player 1 does not play the full-speed game (another plug-in or an older Tavik_DI), "
              "game stopped !!!\r\n");
    EXPECT_EQ(OutOfStepText({OutOfStep::Kind::NoAnswer, 0, 0, 9}), "Error : Kaillera skipped round 9, game stopped !!!\r\n");
}

}  // namespace
