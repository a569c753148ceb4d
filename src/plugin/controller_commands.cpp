#include "plugin/controller_commands.h"

#include <cstring>

namespace {

constexpr int kLengthByte = 0, kReplyLengthByte = 1, kCommandByte = 2, kPayload = 3;
constexpr uint8_t kReplyLengthMask = 0x3F;  // the upper bits are the console's error flags
constexpr int kAddressSize = 2;
constexpr int kPakData = kPayload + kAddressSize;
constexpr int kPakChecksum = kPakData + Joybus::kPakDataSize;

// A standard controller, then the pak status: 1 inserted, 2 none.
constexpr uint8_t kControllerId[2] = {0x05, 0x00};
constexpr uint8_t kPakInserted = 0x01, kNoPakInserted = 0x02;
constexpr uint8_t kRumbleProbeAnswer = 0x80;

struct Lengths {
    uint8_t send, reply;
};

bool LengthsFit(const uint8_t* block, Lengths expected) {
    return block[kLengthByte] == expected.send && (block[kReplyLengthByte] & kReplyLengthMask) == expected.reply;
}

// The address the block names, or false when its checksum says it was corrupted on the way.
bool PakAddress(const uint8_t* block, uint16_t& address) {
    const uint16_t wire = static_cast<uint16_t>(block[kPayload] << 8 | block[kPayload + 1]);
    address = wire & 0xFFE0;
    return (wire & 0x1F) == PakAddressChecksum(address);
}

// Without a pak the controller answers with the checksum inverted: how games tell it is empty.
uint8_t ReplyChecksum(const uint8_t* data, InsertedPak pak) {
    const uint8_t checksum = PakDataChecksum(data);
    return pak == InsertedPak::None ? static_cast<uint8_t>(~checksum) : checksum;
}

}  // namespace

ControlSlot ControlSlotForPak(int32_t pak) {
    ControllerConfig record{};
    record.Pak = pak;
    switch (EffectivePak(record)) {
        case PakMemory: return ControlSlot{1, 0, kMemoryPak};
        case PakTransfer: return ControlSlot{1, 0, kTransferPak};
        case PakRumble: return ControlSlot{1, 1, kRawPak};
        case PakNone: break;
    }
    return ControlSlot{1, 0, kNoPak};
}

// CRC-5, polynomial x^5+x^4+x^2+1, over address bits 15..5, most significant first.
uint8_t PakAddressChecksum(uint16_t address) {
    uint8_t crc = 0;
    for (int bit = 15; bit >= 5; --bit) {
        const bool in = (address >> bit) & 1;
        const bool top = crc & 0x10;
        crc = static_cast<uint8_t>((crc << 1) & 0x1F);
        if (in != top) crc ^= 0x15;
    }
    return crc;
}

// CRC-8, polynomial 0x85, seed 0, most significant bit first, no final inversion.
uint8_t PakDataChecksum(const uint8_t* data) {
    uint8_t crc = 0;
    for (int i = 0; i < Joybus::kPakDataSize; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint8_t>(crc & 0x80 ? (crc << 1) ^ 0x85 : crc << 1);
    }
    return crc;
}

CommandAction AnswerCommand(uint8_t* block, InsertedPak pak) {
    if (!block) return {};
    uint16_t address = 0;
    switch (block[kCommandByte]) {
        case Joybus::Identify:
        case Joybus::Reset:
            if (!LengthsFit(block, {1, 3})) return {};
            block[kPayload] = kControllerId[0];
            block[kPayload + 1] = kControllerId[1];
            block[kPayload + 2] = pak == InsertedPak::None ? kNoPakInserted : kPakInserted;
            return {};
        case Joybus::ReadState:
            return LengthsFit(block, {1, 4}) ? CommandAction{CommandAction::State} : CommandAction{};
        case Joybus::ReadPak: {
            if (!LengthsFit(block, {3, 33}) || !PakAddress(block, address)) return {};
            const bool probe = pak == InsertedPak::Rumble && address >= Joybus::kRumbleProbeStart &&
                               address < Joybus::kRumbleProbeEnd;
            std::memset(block + kPakData, probe ? kRumbleProbeAnswer : 0, Joybus::kPakDataSize);
            block[kPakChecksum] = ReplyChecksum(block + kPakData, pak);
            return {};
        }
        case Joybus::WritePak: {
            if (!LengthsFit(block, {35, 1}) || !PakAddress(block, address)) return {};
            const uint8_t* data = block + kPakData;
            block[kPakChecksum] = ReplyChecksum(data, pak);
            if (pak != InsertedPak::Rumble || address != Joybus::kRumbleMotor) return {};
            // Any data but zeros runs it: the level counts, and games repeat "off" freely.
            bool on = false;
            for (int i = 0; i < Joybus::kPakDataSize; ++i) on |= data[i] != 0;
            return {CommandAction::Motor, on};
        }
        default: return {};
    }
}

bool IsStateCommand(const uint8_t* block) {
    return block && block[kCommandByte] == Joybus::ReadState && LengthsFit(block, {1, 4});
}

void WriteStateReply(uint8_t* block, ButtonState state) { std::memcpy(block + kPayload, &state, sizeof state); }
