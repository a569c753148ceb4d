// The host's side of a raw-data controller: one channel's command block as the emulator hands it
// over, and the two passes emulators make over it.
#pragma once

#include "plugin_api.h"

#include <array>
#include <cstdint>

// A block at the start of the host's 64-byte PIF buffer; bytes past the block keep a guard value.
struct JoybusBlock {
    static constexpr uint8_t kGuard = 0xA5;
    std::array<uint8_t, 64> bytes;

    static JoybusBlock Identify();
    static JoybusBlock State();
    // `wire` is the address as games send it, its checksum in the low five bits (0x8001 = 0x8000).
    static JoybusBlock PakRead(uint16_t wire);
    static JoybusBlock PakWrite(uint16_t wire, uint8_t fill);

    uint8_t* Data() { return bytes.data(); }
    ButtonState StateReply() const;
    uint8_t PakChecksum() const { return bytes[37]; }
};

inline constexpr uint16_t kProbeAddress = 0x8001, kMotorAddress = 0xC01B;

// One game poll of `channel` in the emulators' order: the write pass, its end (-1), the read pass,
// its end (-1).
void RunPasses(const PluginApi& plugin, int32_t channel, JoybusBlock& block);
