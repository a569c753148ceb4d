// The netplay session: the worker thread that runs the library's server dialog, the game the
// library runs in its game-start handler, and the named events through which the host's polls meet
// that game's exchange cycles. One object owns all of it; the entry points talk to it through
// Start, Stop and Poll.
#pragma once

#include "framework/event.h"
#include "framework/unique_handle.h"
#include "netplay/exchange_record.h"
#include "netplay/netplay_games.h"
#include "netplay/poll_rounds.h"
#include "netplay/round_exchange.h"
#include "input/button_state.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class NetplayLogWindow;

// What the session needs from the plug-in, which alone holds the settings and the devices.
struct NetplayLinks {
    bool viewLog = false;
    // The local player's state, from the mapping chosen to play with; `devices` is what the poll
    // handed to Poll, opaque here.
    void (*composeLocalState)(const void* devices, ButtonState* state) = nullptr;
    NetplayLogWindow* log = nullptr;
};

class NetplaySession {
public:
    constexpr NetplaySession() = default;
    NetplaySession(const NetplaySession&) = delete;
    NetplaySession& operator=(const NetplaySession&) = delete;

    // RomOpen: returns once a game has started, once the server dialog has closed without one, or
    // once Stop was called from another thread. A server dialog still open from the previous ROM is
    // used again: the next game started there is this ROM's.
    void Start(const NetplayLinks& links);
    // RomClosed: ends any game at once and releases every waiting poll. It never waits for the
    // library's window, which may stay open (its worker keeps the plug-in loaded meanwhile). A game
    // started there before the next Start is that ROM's.
    void Stop();
    // CloseDLL, unload: Stop, and games started in the library's window from now on end at once.
    void Close();
    // CloseDLL: after Stop, gives a game handler that runs on a thread of the library's own (not
    // our worker, which keeps the plug-in loaded) up to `timeoutMs` to leave the plug-in's code.
    void WaitForForeignHandler(DWORD timeoutMs);

    // One poll of controller `control` (0..3) while netplay is enabled. During a game, the exchange
    // of `pollCount` with the other players; after a game, live local input on the local player's
    // controller and nothing on the others.
    ButtonState Poll(int32_t control, uint32_t pollCount, const void* devices);

    // Handlers the library calls; public for the trampolines only.
    int OnGameStarted(const char* gameName, int playerIndex, int playerCount);
    void OnChat(const char* playerName, const char* text);
    void OnPlayerDropped(const char* playerName, int playerNumber);

private:
    enum class Ending { None, Stopped, Dropped, TimedOut, OutOfStep };

    bool CreateEvents();
    bool StartWorker();
    static DWORD WINAPI WorkerMain(void* self);
    Ending RunCycles(int32_t playerCount, uint32_t generation);
    // One exchange: None once every player's record for this poll is in, else why the game ended.
    Ending Exchange(int32_t playerCount, uint32_t generation, ExchangeRecord (&buffer)[kMaxNetplayPlayers]);
    // The full-speed game's exchange: one call for the round the poll began.
    Ending ExchangeRound(int32_t playerCount, uint32_t generation, ExchangeRecord (&buffer)[kMaxNetplayPlayers]);
    Ending GameOverAnswer(uint32_t generation) const;
    // On the polling thread: whether this poll begins a round of the game running now.
    bool BeginsRound(int32_t control);
    bool GameGoesOn(uint32_t generation) const;
    // Ends the library's game once, whichever thread gets here first.
    void EndLibraryGame();
    void Log(const char* line) const;

    Event startEvent_;        // a game started: RomOpen may return
    Event waitingSyncEvent_;  // a poll waits for its exchange
    Event syncEvent_;         // the exchange for that poll is done
    Event inWaitEvent_;       // a cycle is ready for the next poll
    // Set whenever no game runs, so that no poll waits for a cycle that will not come.
    Event gameOverEvent_;
    Event stopEvent_;  // set by Stop; reset by Start

    UniqueKernelHandle worker_;
    std::atomic<DWORD> workerId_{0};
    std::atomic<bool> workerInDialog_{false};
    std::atomic<bool> dialogEntered_{false};

    NetplayLinks links_{};
    // Stop raises it; a game belongs to the generation it started in and ends when it changes.
    std::atomic<uint32_t> generation_{0};
    std::atomic<bool> closed_{false};  // from Close to the next Start: games end at once
    std::atomic<int32_t> gameCount_{0};  // games since Start: a second one asks first
    std::atomic<bool> gameInProgress_{false};
    std::atomic<bool> handlerRunning_{false};
    std::atomic<DWORD> handlerThread_{0};
    std::atomic<bool> libraryGameEnded_{true};
    std::atomic<bool> playerDropped_{false};
    // The controller that composes and shows the local player's state; -1 for none (spectator,
    // booted, before any game).
    std::atomic<int32_t> localController_{-1};
    std::atomic<ExchangeMode> mode_{ExchangeMode::PerPoll};
    std::atomic<uint32_t> gameSerial_{0};  // the polls count rounds afresh in each game

    PollRounds pollRounds_;       // the polling thread's
    uint32_t pollRoundsGame_ = 0;  // the game whose rounds pollRounds_ counts
    RoundExchange roundExchange_;  // the game handler's

    uint32_t pollCount_ = 0;  // written by the poll before its hand-off, read by the cycle after it
    ButtonState localState_{};
    ButtonState exchangedStates_[4]{};
};
