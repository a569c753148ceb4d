// The netplay game flow: a worker thread runs the library's server dialog, the library runs each
// game in its game-start handler as a loop of exchange cycles, and the host's polls meet those
// cycles through named events.
#pragma once

#include "framework/unique_handle.h"
#include "plugin/button_state.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

struct NetplayGame {
    UniqueKernelHandle startEvent;        // set when a game starts: RomOpen may return
    UniqueKernelHandle waitingSyncEvent;  // a poll waits for its exchange
    UniqueKernelHandle syncEvent;         // the exchange for that poll is done
    UniqueKernelHandle inWaitEvent;       // a cycle is ready for the next poll
    // Set whenever no game runs: a poll then returns at once instead of waiting for a cycle that
    // will never come (before the first game, after a game's end, after the server dialog closed).
    UniqueKernelHandle gameOverEvent;
    UniqueKernelHandle workerThread;
    DWORD workerThreadId = 0;
    std::atomic<int32_t> gameCount{0};
    std::atomic<bool> workerActive{false};
    std::atomic<bool> handlerRunning{false};  // the game-start handler has not returned yet
    // From the Start event to the game's end; the poll's cheap test of gameOverEvent.
    std::atomic<bool> gameInProgress{false};
    std::atomic<int32_t> localController{-1};
    uint32_t pollCount = 0;  // GetKeys calls since RomOpen; wraps
    ButtonState localState{};
    ButtonState exchangedStates[4]{};
};

// Starts the worker and returns once a game has started, or once the server dialog has closed
// without one.
void StartNetplay();
// Ends any game and the worker. `processTerminating`: the other threads are gone; wait for none.
void StopNetplay(bool processTerminating = false);
// The per-poll meeting with a running game. Returns at once while no game runs.
void NetplayFrameHandoff();

// The controller whose poll composes the local player's state: the one the library gave us, or
// controller 0 when that number is no controller (clients that count players from 1), so that the
// local input is still sent once per round of polls.
int32_t LocalComposeController(int32_t localController);
