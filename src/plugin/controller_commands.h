// A controller that answers the console's commands itself, as a pad with a rumble pak must: the
// host's command block, the replies, the pak's two checksums, and what the host is told of each
// controller's pak. The state word and the motor are left to the caller.
#pragma once

#include "config/controller_config.h"
#include "input/button_state.h"
#include "plugin/host_records.h"

#include <cstdint>

namespace Joybus {
inline constexpr uint8_t Identify = 0x00, ReadState = 0x01, ReadPak = 0x02, WritePak = 0x03, Reset = 0xFF;
inline constexpr int kPakDataSize = 32;
// The rumble pak answers its probe with 0x80 in this range, and runs its motor from writes here.
inline constexpr uint16_t kRumbleProbeStart = 0x8000, kRumbleProbeEnd = 0x9000, kRumbleMotor = 0xC000;
}  // namespace Joybus

// The host's kinds of pak (the slot's pakKind).
inline constexpr int32_t kMemoryPak = 2, kTransferPak = 4, kRawPak = 5;

// What InitiateControllers reports for a controller with pak setting `pak`: memory and transfer
// paks are the host's own; a rumble pak makes the controller answer its commands itself.
ControlSlot ControlSlotForPak(int32_t pak);

// A pak address on the wire carries, in its low 5 bits, a checksum of its upper 11.
uint8_t PakAddressChecksum(uint16_t address);
// The checksum a pak sends after 32 bytes read, and as its whole reply to 32 bytes written.
uint8_t PakDataChecksum(const uint8_t* data);

// What the game finds in the controller.
enum class InsertedPak { None, Rumble };

struct CommandAction {
    enum Kind : uint8_t { Nothing, State, Motor } kind = Nothing;
    bool motorOn = false;  // for Motor: the level written
};

// Answers the command of one channel's block: [0] send length, [1] reply length, [2] the command,
// then its payload and the reply. Identify, reset and the pak's commands are answered here; a state
// command is only recognised (kind State), a write of the motor reports its level (kind Motor).
// A block that is null, unknown, or whose lengths or address checksum do not fit its command gets
// no reply: nothing is written outside the lengths it declares.
CommandAction AnswerCommand(uint8_t* block, InsertedPak pak);
// Whether `block` is a well-formed state command.
bool IsStateCommand(const uint8_t* block);
// The state reply: the four bytes of the word as the host keeps it.
void WriteStateReply(uint8_t* block, ButtonState state);
