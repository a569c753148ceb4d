#include "plugin/controller_commands.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

// One channel's block in a buffer of the host's PIF RAM size, the rest filled with a guard byte.
constexpr uint8_t kGuard = 0xA5;
using Pif = std::array<uint8_t, 64>;

Pif Block(std::vector<uint8_t> bytes) {
    Pif pif;
    pif.fill(kGuard);
    std::memcpy(pif.data(), bytes.data(), bytes.size());
    return pif;
}

Pif PakWrite(uint16_t wireAddress, uint8_t fill) {
    Pif pif = Block({35, 1, Joybus::WritePak, static_cast<uint8_t>(wireAddress >> 8), static_cast<uint8_t>(wireAddress)});
    std::memset(pif.data() + 5, fill, 32);
    return pif;
}

Pif PakRead(uint16_t wireAddress) {
    return Block({3, 33, Joybus::ReadPak, static_cast<uint8_t>(wireAddress >> 8), static_cast<uint8_t>(wireAddress)});
}

// Every byte from `from` on is still the guard: nothing was written past the declared lengths.
void ExpectGuardFrom(const Pif& pif, size_t from) {
    for (size_t i = from; i < pif.size(); ++i) ASSERT_EQ(pif[i], kGuard) << "byte " << i;
}

TEST(PakChecksums, MatchTheProtocolsVectors) {
    const std::pair<uint16_t, uint16_t> addresses[] = {
        {0x0000, 0x0000}, {0x0020, 0x0035}, {0x0100, 0x0116}, {0x0200, 0x0219}, {0x0300, 0x030F}, {0x0400, 0x0407},
        {0x0600, 0x061E}, {0x7FE0, 0x7FEC}, {0x8000, 0x8001}, {0x8020, 0x8034}, {0xA000, 0xA00C}, {0xB000, 0xB010},
        {0xC000, 0xC01B}, {0xC020, 0xC02E}, {0xE000, 0xE016}, {0xFFE0, 0xFFED}};
    for (auto [address, wire] : addresses)
        EXPECT_EQ(address | PakAddressChecksum(address), wire) << std::hex << address;

    const std::pair<uint8_t, uint8_t> fills[] = {{0x00, 0x00}, {0xFF, 0x0A}, {0x80, 0xB8},
                                                 {0x01, 0xEB}, {0x84, 0x1E}, {0xFE, 0xE1}};
    uint8_t data[32];
    for (auto [fill, crc] : fills) {
        std::memset(data, fill, sizeof data);
        EXPECT_EQ(PakDataChecksum(data), crc) << std::hex << int{fill};
    }
    for (int i = 0; i < 32; ++i) data[i] = static_cast<uint8_t>(i);
    EXPECT_EQ(PakDataChecksum(data), 0x33);
}

TEST(ControllerCommands, IdentifyAndResetTellWhetherAPakIsInserted) {
    for (uint8_t command : {Joybus::Identify, Joybus::Reset}) {
        Pif pif = Block({1, 3, command});
        EXPECT_EQ(AnswerCommand(pif.data(), InsertedPak::Rumble).kind, CommandAction::Nothing);
        EXPECT_EQ((std::vector<uint8_t>{pif[3], pif[4], pif[5]}), (std::vector<uint8_t>{0x05, 0x00, 0x01}));
        ExpectGuardFrom(pif, 6);
        pif = Block({1, 3, command});
        AnswerCommand(pif.data(), InsertedPak::None);
        EXPECT_EQ(pif[5], 0x02);
    }
}

TEST(ControllerCommands, RumblePakAnswersItsProbeRangeAndZerosElsewhere) {
    const struct {
        uint16_t address;
        InsertedPak pak;
        uint8_t data, checksum;
    } cases[] = {{0x8000, InsertedPak::Rumble, 0x80, 0xB8}, {0x8FE0, InsertedPak::Rumble, 0x80, 0xB8},
                 {0x9000, InsertedPak::Rumble, 0, 0},       {0x0000, InsertedPak::Rumble, 0, 0},
                 {0xC000, InsertedPak::Rumble, 0, 0},       {0x8000, InsertedPak::None, 0, 0xFF}};
    for (const auto& c : cases) {
        Pif pif = PakRead(static_cast<uint16_t>(c.address | PakAddressChecksum(c.address)));
        EXPECT_EQ(AnswerCommand(pif.data(), c.pak).kind, CommandAction::Nothing);
        for (int i = 5; i < 37; ++i) ASSERT_EQ(pif[i], c.data) << std::hex << c.address;
        EXPECT_EQ(pif[37], c.checksum) << std::hex << c.address;
        ExpectGuardFrom(pif, 38);
    }
}

TEST(ControllerCommands, WritesAnswerTheirChecksumAndOnlyTheMotorAddressRunsTheMotor) {
    Pif on = PakWrite(0xC01B, 0x01);
    const CommandAction run = AnswerCommand(on.data(), InsertedPak::Rumble);
    EXPECT_EQ(run.kind, CommandAction::Motor);
    EXPECT_TRUE(run.motorOn);
    EXPECT_EQ(on[37], 0xEB);
    ExpectGuardFrom(on, 38);

    Pif off = PakWrite(0xC01B, 0x00);
    const CommandAction stop = AnswerCommand(off.data(), InsertedPak::Rumble);
    EXPECT_EQ(stop.kind, CommandAction::Motor);
    EXPECT_FALSE(stop.motorOn);

    Pif lastByte = PakWrite(0xC01B, 0x00);
    lastByte[36] = 0x40;  // any data but zeros is "on"
    EXPECT_TRUE(AnswerCommand(lastByte.data(), InsertedPak::Rumble).motorOn);

    Pif probe = PakWrite(0x8001, 0xFE);
    EXPECT_EQ(AnswerCommand(probe.data(), InsertedPak::Rumble).kind, CommandAction::Nothing);
    EXPECT_EQ(probe[37], 0xE1);

    Pif empty = PakWrite(0xC01B, 0x01);  // no pak: the inverted checksum, and no motor
    EXPECT_EQ(AnswerCommand(empty.data(), InsertedPak::None).kind, CommandAction::Nothing);
    EXPECT_EQ(empty[37], 0x14);
}

TEST(ControllerCommands, MalformedBlocksGetNoReplyAtAll) {
    EXPECT_EQ(AnswerCommand(nullptr, InsertedPak::Rumble).kind, CommandAction::Nothing);
    const Pif blocks[] = {
        Block({1, 3, 0x05}),                  // unknown command
        Block({1, 2, Joybus::Identify}),      // reply shorter than the command's
        Block({2, 3, Joybus::Reset}),         // send longer
        Block({1, 3, Joybus::ReadState}),     // state with three bytes of reply
        Block({3, 32, Joybus::ReadPak, 0x80, 0x01}),
        Block({3, 33, Joybus::ReadPak, 0x80, 0x02}),  // address checksum wrong
        Block({34, 1, Joybus::WritePak, 0xC0, 0x1B}),
        Block({35, 1, Joybus::WritePak, 0xC0, 0x1A}),
    };
    for (const Pif& block : blocks) {
        Pif pif = block;
        const CommandAction action = AnswerCommand(pif.data(), InsertedPak::Rumble);
        EXPECT_EQ(action.kind, CommandAction::Nothing) << int{block[2]};
        EXPECT_EQ(pif, block) << "command " << int{block[2]} << " lengths " << int{block[0]} << "/" << int{block[1]};
    }
}

TEST(ControllerCommands, StateCommandIsLeftToTheCallerAndRepliesWithTheWordsBytes) {
    Pif pif = Block({1, 4 | 0x80, Joybus::ReadState});  // an error flag left in the reply length
    EXPECT_EQ(AnswerCommand(pif.data(), InsertedPak::Rumble).kind, CommandAction::State);
    ExpectGuardFrom(pif, 3);
    ASSERT_TRUE(IsStateCommand(pif.data()));
    WriteStateReply(pif.data(), ButtonState{0x1088, 64, -64});
    EXPECT_EQ((std::vector<uint8_t>{pif[3], pif[4], pif[5], pif[6]}), (std::vector<uint8_t>{0x88, 0x10, 0x40, 0xC0}));
    ExpectGuardFrom(pif, 7);
    EXPECT_FALSE(IsStateCommand(nullptr));
    EXPECT_FALSE(IsStateCommand(Block({1, 3, Joybus::ReadState}).data()));
}

}  // namespace
