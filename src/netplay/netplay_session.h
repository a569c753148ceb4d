// The netplay session: the worker thread that runs the library's server dialog, the games the
// library runs in its game-start handler, and the named events through which the host's polls meet
// those games' exchange cycles. Its states and their rules are SessionMachine's; the session
// applies them under one short lock and does the thread, event and library work they call for.
// The entry points talk to it through Start, Stop, Close and Poll.
#pragma once

#include "framework/event.h"
#include "framework/slim_lock.h"
#include "input/button_state.h"
#include "netplay/exchange_record.h"
#include "netplay/netplay_games.h"
#include "netplay/poll_rounds.h"
#include "netplay/round_exchange.h"
#include "netplay/session_machine.h"


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
    // used again: a game started there since is this ROM's.
    void Start(const NetplayLinks& links);
    // RomClosed: ends any game at once and releases every waiting poll. It never waits for the
    // library's window, which may stay open (its worker keeps the plug-in loaded meanwhile).
    void Stop();
    // RomOpen without netplay: Stop, and the polls read the devices directly from now on.
    void StartWithoutNetplay();
    // CloseDLL, unload: Stop, and games started in the library's window from now on end at once.
    // Not at process exit: the library has been detached, and a dead thread may hold the lock.
    void Close();
    // CloseDLL: after Close, gives a game handler that runs on a thread of the library's own (not
    // our worker, which keeps the plug-in loaded) up to `timeoutMs` to leave the plug-in's code.
    void WaitForForeignHandler(DWORD timeoutMs);

    // From a RomOpen with netplay to the next RomOpen without it, the host's polls go through Poll,
    // whatever the setting says meanwhile. Lock-free: the poll path reads it.
    bool InUse() const { return inUse_.load(std::memory_order_acquire); }
    // One poll of controller `control` (0..3) while InUse. During a game, the exchange made for
    // this poll (in the full-speed game, for its round); otherwise live local input on the local
    // player's controller, nothing on the others. The host polls from one thread.
    ButtonState Poll(int32_t control, uint32_t pollCount, const void* devices);

    // Handlers the library calls; public for the trampolines only.
    int OnGameStarted(const char* gameName, int playerIndex, int playerCount);
    void OnChat(const char* playerName, const char* text);
    void OnPlayerDropped(const char* playerName, int playerNumber);

private:
    enum class Ending { None, Stopped, TimedOut, OutOfStep };

    bool CreateEvents();
    bool StartWorker();
    static DWORD WINAPI WorkerMain(void* self);
    // Runs `rule` on the machine under the lock, then sets the events to the state it leaves.
    template <typename Rule>
    auto Apply(Rule rule);
    void ShowState();
    bool StillPlaying(uint32_t game);
    // True with the exchange's state for `control`; false when none will come for this poll.
    bool AwaitExchange(uint32_t ticket, int32_t control, ButtonState& state);
    // The classic game exchanges once per poll; the full-speed game once per round (`rounds`).
    Ending RunCycles(uint32_t game, int32_t playerCount, RoundExchange* rounds);
    Ending Exchange(uint32_t game, const ExchangeRequest& request, int32_t playerCount,
                    ExchangeRecord (&buffer)[kMaxNetplayPlayers]);
    // The full-speed game's exchange: one call for the round, its states in `buffer` to deliver.
    Ending ExchangeRound(uint32_t game, const ExchangeRequest& request, int32_t playerCount, RoundExchange& rounds,
                         ExchangeRecord (&buffer)[kMaxNetplayPlayers]);
    // On the polling thread: whether this poll of `control` begins a round of game `roundsGame`.
    bool BeginsRound(int32_t control, uint32_t roundsGame);
    void EndLibraryGameIf(bool needed) const;
    void Log(const char* line);

    SlimLock lock_;
    // Guarded by lock_.
    SessionMachine machine_;
    NetplayLinks links_{};
    DWORD workerId_ = 0;
    ExchangeKind kind_ = ExchangeKind::PerPoll;  // the latest game's
    uint32_t roundsGame_ = 0;                    // counts the games, so the polls count rounds afresh

    // The polling thread's: the rounds of the game it polls, and the exchange of the current round.
    PollRounds pollRounds_;
    uint32_t pollRoundsGame_ = 0;
    uint32_t roundTicket_ = 0;

    // The classic exchange's four events, under their names.
    ManualResetEvent startEvent_;      // set while no ROM waits for a game: RomOpen goes on
    AutoResetEvent waitingSyncEvent_;  // a poll waits for its exchange
    AutoResetEvent syncEvent_;         // an exchange is done; each poll checks that it is its own
    AutoResetEvent inWaitEvent_;       // a cycle is ready for the next poll
    // Alarms, set for as long as their waiters have nothing to wait for, so a wait never spins.
    ManualResetEvent notPlayingEvent_;      // no game plays: polls and cycles stop waiting
    ManualResetEvent noGameWaitingEvent_;   // no game waits for a ROM: a waiting game's handler goes on

    std::atomic<bool> inUse_{false};
};
