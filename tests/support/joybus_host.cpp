#include "joybus_host.h"

#include <cstring>

namespace {
JoybusBlock Make(std::initializer_list<uint8_t> head) {
    JoybusBlock block;
    block.bytes.fill(JoybusBlock::kGuard);
    std::copy(head.begin(), head.end(), block.bytes.begin());
    return block;
}
}  // namespace

JoybusBlock JoybusBlock::Identify() { return Make({1, 3, 0x00}); }
JoybusBlock JoybusBlock::State() { return Make({1, 4, 0x01}); }

JoybusBlock JoybusBlock::PakRead(uint16_t wire) {
    return Make({3, 33, 0x02, static_cast<uint8_t>(wire >> 8), static_cast<uint8_t>(wire)});
}

JoybusBlock JoybusBlock::PakWrite(uint16_t wire, uint8_t fill) {
    JoybusBlock block = Make({35, 1, 0x03, static_cast<uint8_t>(wire >> 8), static_cast<uint8_t>(wire)});
    std::memset(block.bytes.data() + 5, fill, 32);
    return block;
}

ButtonState JoybusBlock::StateReply() const {
    ButtonState state;
    std::memcpy(&state, bytes.data() + 3, sizeof state);
    return state;
}

void RunPasses(const PluginApi& plugin, int32_t channel, JoybusBlock& block) {
    plugin.ControllerCommand(channel, block.Data());
    plugin.ControllerCommand(-1, nullptr);
    plugin.ReadController(channel, block.Data());
    plugin.ReadController(-1, nullptr);
}
