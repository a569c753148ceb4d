#include "netplay/exchange_record.h"
#include "netplay/netplay_log_lines.h"

#include <gtest/gtest.h>

namespace {

ExchangeRecord Record(uint32_t pollCount, uint16_t buttons = 0) { return {pollCount, ButtonState{buttons, 0, 0}}; }

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
