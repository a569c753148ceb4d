// The fake library's client mode: it behaves as the real open-source Kaillera client was measured
// to behave (P2P mode, two processes on loopback under Wine). The facts it follows:
//
// 1. Players are numbered from 1: the host is 1, the joining player 2 (0 would be a spectator).
// 2. The first kailleraModifyPlayValues of a game blocks (synchronisation, about 2 s) and returns 0
//    with the buffer untouched. After it every result lags by the frame delay D (1 on loopback):
//    call n answers with the records of call n - D, so one exchange takes D + 1 calls. A positive
//    result is 8 bytes per player, the records in player order.
// 3. -1 means any end of the game: the other player stopped cleanly (at once), the local user
//    closed the window, no data for the client's own time-out, or no game running.
// 4. The game callback runs synchronously on the thread that called kailleraSelectServerDialog.
//    "Player dropped" comes from inside kailleraModifyPlayValues or kailleraEndGame on the calling
//    thread; it is reported for both players: once on the side that left (from kailleraEndGame),
//    twice on the side that received the drop (then -1).
// 5. kailleraSelectServerDialog does not return after a game while the window stays open. A
//    window thread of the client's own, with a 1 s timer, outlives kailleraShutdown and the
//    plug-in's CloseDLL; it holds no reference on the library, so unloading the library while it
//    runs pulls its code from under it. A second kailleraSelectServerDialog opens a second window.
// 6. Apart from kailleraInit the exports' results mean nothing.
// 7. kailleraShutdown cleans up the sockets and frees the game list that an open window still
//    uses: from then until that window closes, any call into the library fails, and so does a game
//    started in that window.
// 8. A host loads the client after the plug-in, so at process exit the client is detached first:
//    a call made while the process's libraries are being detached reaches a detached client.
//
// Where the real client would crash, the fake reports instead: it prints what happened and ends
// the process with kUnloadedExitCode, so that a test sees the fault every time, not by luck.
#pragma once

#include <windows.h>

#include <cstdint>

namespace fakek {

constexpr UINT kUnloadedExitCode = 0xDEAD;

// Switches client mode on (for this process, until the next reset).
void enterClientMode(int32_t syncMs, int32_t frameDelay, int32_t dataTimeoutMs);
bool clientMode();

int clientSelectServerDialog();
int clientModifyPlayValues(void* values, int size);
void clientEndGame();
// The user's part in the window opened last.
void clientStartGame(const char* name, int32_t playerIndex, int32_t playerCount);
void clientCloseWindow();
// The other player leaves: the local side hears of it inside its next exchange.
void clientOtherPlayerLeaves(const char* nick, int32_t playerNumber);
int32_t clientWindowsOpen();

// Back to the scripted library: open windows close, a running game ends. The caller holds the
// state's lock.
void leaveClientMode();
// At the library's unload while its window thread runs: the real client would crash.
void clientLibraryUnloading();
// Before any entry point runs: reports a call that facts 7 and 8 say would fail.
void checkCallAllowed(const char* entryPoint);
// kailleraShutdown (fact 7).
void clientShutdown();

}  // namespace fakek
