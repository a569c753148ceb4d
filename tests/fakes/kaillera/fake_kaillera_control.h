// Control surface of the scriptable stand-in for kailleraclient.dll.
//
// The plug-in loads the fake from the path stored in its settings and calls the eight library
// entry points. A test plays the part of the network and of the user of the library's server
// dialog through these extra exports, resolved at run time with GetProcAddress on the same module.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// One exchanged record, as the plug-in sends it.
struct FakeKRecord {
    uint32_t pollCount;
    uint32_t state;  // the 4-byte controller state word
};

typedef void(__cdecl* FakeK_Reset_t)(void);

// --- What the plug-in did ---------------------------------------------------------------------
// Comma-separated names of the entry points called so far, in order ("kailleraInit,kailleraSetInfos,...").
// A kailleraInit or kailleraShutdown made under the loader lock, where the real library's socket
// start-up and clean-up must not run, is followed by "under the loader lock".
// Returns the full length; writes at most `size` bytes, terminated.
typedef int32_t(__cdecl* FakeK_CallLog_t)(char* buffer, int32_t size);
typedef int32_t(__cdecl* FakeK_CallCount_t)(const char* entryPoint);
// What kailleraSetInfos received: the client name, and the game list with each name followed by
// '|' ("Unknown N64 Game|"). Empty before the call.
typedef void(__cdecl* FakeK_ClientInfo_t)(char* clientName, int32_t nameSize, char* gameList, int32_t listSize);
// Chat texts sent with kailleraChatSend, in order; index beyond the count returns 0, else 1.
typedef int32_t(__cdecl* FakeK_ChatSent_t)(int32_t index, char* buffer, int32_t size);
// Records the plug-in passed to kailleraModifyPlayValues (every call, retries included).
typedef int32_t(__cdecl* FakeK_SentCount_t)(void);
typedef int32_t(__cdecl* FakeK_Sent_t)(int32_t index, struct FakeKRecord* out);
// Whether the dialog of kailleraSelectServerDialog is open now (a caller that was terminated inside
// it no longer counts), and the value the plug-in passed to the latest call (-1 before any call).
typedef int32_t(__cdecl* FakeK_ServerDialogOpen_t)(void);
typedef intptr_t(__cdecl* FakeK_ServerDialogParent_t)(void);

// --- Playing the library's side ---------------------------------------------------------------
// The version text kailleraGetVersion writes (may be longer than 15 characters, to test the
// plug-in's buffer).
typedef void(__cdecl* FakeK_SetVersion_t)(const char* text);
// Waits (bounded, ms) until kailleraSelectServerDialog has been entered; returns 1 if it was.
typedef int32_t(__cdecl* FakeK_WaitServerDialog_t)(int32_t timeoutMs);
// Starts a game: calls the plug-in's game-start handler on a thread of the fake's own (as the real
// library does) with these arguments. Null gameName passes a null pointer. Returns at once; the
// handler runs the whole game on that thread.
typedef void(__cdecl* FakeK_StartGame_t)(const char* gameName, int32_t playerIndex, int32_t playerCount);
// Whether the game-start handler is still running; FakeK_WaitGameEnd waits (bounded) for it to
// return and gives 1 if it did, with the handler's result in *result.
typedef int32_t(__cdecl* FakeK_GameRunning_t)(void);
typedef int32_t(__cdecl* FakeK_WaitGameEnd_t)(int32_t timeoutMs, int32_t* result);
// Calls the chat and player-dropped handlers (on the fake's thread, synchronously). Null texts
// pass null pointers.
typedef void(__cdecl* FakeK_ReceiveChat_t)(const char* nick, const char* text);
typedef void(__cdecl* FakeK_DropPlayer_t)(const char* nick, int32_t playerNumber);
// Makes kailleraSelectServerDialog return (the user closed the library's dialog).
typedef void(__cdecl* FakeK_CloseServerDialog_t)(void);

// kailleraModifyPlayValues, scripted. Each call first consumes the next queued result if any:
// a queued value <= 0 is returned as is, without touching the buffer. Otherwise (nothing queued,
// or a queued positive value) it answers positively with one record per player in player order:
// the record of the local player (record playerIndex - 1: players count from 1, as the real
// client's do)
// echoes what the plug-in sent; every other record i is remote player i's: pollCount = the sent
// pollCount plus that player's offset, state = that player's state. Returns 8 * players (at most
// four records, the size of the plug-in's buffer; 8 when there is no player, as 0 means "not ready").
typedef void(__cdecl* FakeK_QueueResults_t)(const int32_t* results, int32_t count);
typedef void(__cdecl* FakeK_SetRemoteState_t)(int32_t player, uint32_t state);
// For the next `times` positive answers (-1: always) player `player`'s record carries the sent
// pollCount plus `offset` (negative: lagging behind, positive: ahead).
typedef void(__cdecl* FakeK_SetRemoteOffset_t)(int32_t player, int32_t offset, int32_t times);
// Players whose records are filled in a positive answer (default: the playerCount of the current
// game). Lets a test answer for fewer or more players than the game announced.
typedef void(__cdecl* FakeK_SetAnsweredPlayers_t)(int32_t players);

// Two hosts, one game: instead of scripted answers, records go through a shared memory block
// named `channel` (the same name in both processes). This process is player `playerIndex` of
// `playerCount`; a call writes its record into its own slot and answers with all slots as they
// are (positive), leaving the retries for lagging records to the plug-in.
typedef int32_t(__cdecl* FakeK_JoinRelay_t)(const char* channel, int32_t playerIndex, int32_t playerCount);

// Client mode: the fake behaves as the real client does (the facts are listed in fake_client.h):
// players count from 1, the game runs on the server dialog's caller, the first exchange blocks
// `syncMs` and returns 0, answers lag `frameDelay` calls, -1 ends every game, and a window thread
// of its own outlives the plug-in's use of the library. `dataTimeoutMs`: no data for that long
// gives -1. FakeK_StartGame and FakeK_CloseServerDialog then act on the window opened last;
// FakeK_DropPlayer makes the other player leave (the local side hears of it in its next exchange).
typedef void(__cdecl* FakeK_SetClientMode_t)(int32_t syncMs, int32_t frameDelay, int32_t dataTimeoutMs);
// Server windows open now (client mode).
typedef int32_t(__cdecl* FakeK_WindowsOpen_t)(void);
// Client mode across processes: a record reaches the other processes `ms` after it was sent.
typedef void(__cdecl* FakeK_SetOneWayDelay_t)(int32_t ms);

#ifdef __cplusplus
}
#endif
