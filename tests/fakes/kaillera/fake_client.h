// The fake library's client mode: it behaves as the real open-source Kaillera client was measured
// to behave (P2P mode, two processes on loopback under Wine, and through
// a UDP relay that adds a one-way delay). The facts it follows:
//
// 1. Players are numbered from 1: the host is 1, the joining player 2 (0 would be a spectator).
// 2. A kailleraModifyPlayValues call sends the local record at once and returns the records of the
//    call made D calls earlier, every player's in player order, the caller's own included (8 bytes
//    each, the result their total). D, the frame delay, is a setting of the fake (the real client
//    takes it from the hosting player's ping or frame-delay setting) and the same for everyone.
// 3. The first D calls of a game return 0 and leave the buffer untouched; the first one also does
//    the game's set-up and blocks (1.7 to 2.9 s for the real client; `syncMs` here).
// 4. A call waits only while a record it must return has not arrived: another process's record
//    arrives one one-way delay (a setting of the fake) after it was sent. The client never paces:
//    the slower side sets the rate for both, and no record is dropped or repeated.
// 5. -1 means the game is over: another player ended it (he hears of it at once, the others one
//    one-way delay later), the local user closed the window, no data for the client's time-out
//    (about 8 s), or no game running. Every later call of that game returns -1 too.
// 6. The record size is fixed by the game's first call.
// 7. The game callback runs synchronously on the thread that called kailleraSelectServerDialog.
//    "Player dropped" comes from inside kailleraModifyPlayValues or kailleraEndGame on the calling
//    thread; it is reported for both players: once on the side that left (from kailleraEndGame),
//    twice on the side that received the drop (then -1).
// 8. kailleraSelectServerDialog does not return after a game while the window stays open. A
//    window thread of the client's own, with a 1 s timer, outlives kailleraShutdown and the
//    plug-in's CloseDLL; it holds no reference on the library, so unloading the library while it
//    runs pulls its code from under it. A second kailleraSelectServerDialog opens a second window.
// 9. kailleraShutdown cleans up the sockets and frees the game list that an open window still
//    uses: from then until that window closes, any call into the library fails, and so does a game
//    started in that window.
// 10. A host loads the client after the plug-in, so at process exit the client is detached first:
//    a call made while the process's libraries are being detached reaches a detached client.
// 11. Apart from kailleraInit the exports' results mean nothing.
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
