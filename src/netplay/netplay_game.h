// What the host's polls and a netplay game share.
#pragma once

#include "plugin/button_state.h"

#include <cstdint>

struct NetplayGame {
    uint32_t pollCount = 0;        // GetKeys calls since RomOpen; wraps
    int32_t localController = -1;  // controller number the library gave this player
    ButtonState localState{};
    ButtonState exchangedStates[4]{};
};

// The per-poll meeting with a running game. Returns at once while no game is running.
void NetplayFrameHandoff();
