// The netplay session's states and the rules that move it from one to the next, free of the
// Windows API. The session (netplay_session.h) applies every rule under its one lock and turns the
// results into thread, event and library work. A ROM plays at most one game at a time, and each
// poll is paired by number with the exchange made for it.
//
//   Idle --Start--> WaitingForGame --game--> Playing --end--> Ending --handler left--> GameOver
//   Idle --game--> GameWaiting --Start--> Playing          GameOver --game--> Asking --yes--> Playing
//   WaitingForGame --window closed--> GameOver             Asking --no--> Ending
//   Stop: WaitingForGame, GameOver -> Idle; Asking, Playing -> Ending (then Idle); Idle, GameWaiting,
//   Ending stay. Close: as Stop, and a waiting game ends too; games started until the next Start
//   end at once.
#pragma once

#include "input/button_state.h"
#include "netplay/exchange_record.h"

#include <cstdint>

enum class SessionState : uint8_t {
    Idle,            // no ROM plays netplay and no game runs
    WaitingForGame,  // a ROM waits for a game from the library's window; RomOpen blocks
    GameWaiting,     // a game started in the window while no ROM was open: it waits for the next one
    Asking,          // a second game of one ROM: the replay question is open; polls do not wait
    Playing,         // one exchange per poll
    Ending,          // the game ends: polls do not wait; its handler ends it in the library
    GameOver,        // the ROM's game is over, or the window closed without one: polls read live input
};

// What a game's handler does next.
enum class GameStep : uint8_t {
    Play,  // run exchanges
    Ask,   // ask the replay question, then Answered
    Wait,  // wait for the next ROM, then Resume
    Boot,  // too many players: say so, then end
    End,   // end the game
};

// One poll's hand-off: what the exchange made for it sends.
struct ExchangeRequest {
    uint32_t ticket = 0;  // 0: no poll waits
    uint32_t pollCount = 0;
    ButtonState localState{};
};

enum class PollAnswer : uint8_t { Ready, Pending, Never };

class SessionMachine {
public:
    struct GameStart {
        uint32_t game;
        GameStep step;
    };

    SessionState State() const { return state_; }
    // From RomOpen with netplay to RomClosed: the host's polls go through the session.
    bool RomUsesNetplay() const { return romOpen_; }
    int32_t LocalController() const { return localController_; }
    // Handlers running on threads of the library's own, not in our worker's dialog.
    int32_t ForeignHandlers() const { return foreignHandlers_; }
    bool Playing(uint32_t game) const { return state_ == SessionState::Playing && game == currentGame_; }
    bool PlayerDropped() const { return playerDropped_; }

    // RomOpen with netplay. True when a worker must open the library's window (none is open).
    bool Start();
    // RomClosed. True when the caller must end the library's game: its handler may be blocked
    // inside the library, waiting for the other players.
    bool Stop();
    // CloseDLL: Stop, a waiting game ends, and games started before the next Start end at once.
    bool Close();
    // The worker's server dialog returned (or the worker could not start).
    void WindowClosed();

    // A game's handler: at its start, after a Wait or an Ask, at its end, and when it returns.
    GameStart GameStarted(int32_t localController, bool booted, bool onWorker);
    GameStep Resume(uint32_t game);
    GameStep Answered(uint32_t game, bool yes);
    // True when the handler must end the library's game itself (nobody has yet).
    bool GameEnding(uint32_t game);
    void HandlerLeft(uint32_t game, bool onWorker);
    void OnPlayerDropped() { playerDropped_ = true; }

    // A poll while a game plays: its ticket (0 when no game plays, nothing to wait for).
    // `composed`: the local player's fresh state, when this poll is for the local controller.
    uint32_t RequestExchange(uint32_t pollCount, const ButtonState* composed);
    // The exchange cycle: false once the game no longer plays; request.ticket 0 when no poll waits.
    bool TakeRequest(uint32_t game, ExchangeRequest& request);
    void Deliver(uint32_t game, uint32_t ticket, const ExchangeRecord (&records)[kMaxNetplayPlayers],
                 int32_t playerCount);
    // The state that the exchange of `ticket` delivered for `control`, once it is there. Never: the
    // game ended, or a later poll took this one's place, so no exchange will ever be its own.
    PollAnswer AnswerFor(uint32_t ticket, int32_t control, ButtonState& state) const;

private:
    // A game the player goes on with: boot it, or play it.
    GameStep Accepted();

    SessionState state_ = SessionState::Idle;
    bool romOpen_ = false;
    bool closed_ = false;
    bool windowOpen_ = false;
    int32_t gamesThisRom_ = 0;
    uint32_t lastGame_ = 0;
    uint32_t currentGame_ = 0;  // 0: none
    uint32_t endedGame_ = 0;    // the latest game ended in the library
    bool booted_ = false;
    bool playerDropped_ = false;
    int32_t foreignHandlers_ = 0;
    int32_t localController_ = -1;  // never reset after a game: it keeps reading live input

    ButtonState localState_{};
    ButtonState exchanged_[kMaxNetplayPlayers]{};
    uint32_t lastTicket_ = 0;
    ExchangeRequest request_{};
    uint32_t takenTicket_ = 0;
    uint32_t answeredTicket_ = 0;
};
