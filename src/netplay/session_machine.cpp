#include "netplay/session_machine.h"

bool SessionMachine::Start() {
    romOpen_ = true;
    closed_ = false;
    gamesThisRom_ = 0;
    switch (state_) {
        case SessionState::GameWaiting:
            state_ = SessionState::Playing;  // a game started before this ROM is this ROM's
            gamesThisRom_ = 1;
            break;
        case SessionState::Asking:
        case SessionState::Playing:
            gamesThisRom_ = 1;  // RomOpen twice: the game goes on
            break;
        case SessionState::Ending:
            currentGame_ = 0;  // the last ROM's game ends on its own; this ROM waits for a new one
            state_ = SessionState::WaitingForGame;
            break;
        default:
            state_ = SessionState::WaitingForGame;
            break;
    }
    if (state_ != SessionState::WaitingForGame || windowOpen_) return false;
    windowOpen_ = true;
    return true;
}

bool SessionMachine::Stop() {
    romOpen_ = false;
    gamesThisRom_ = 0;
    switch (state_) {
        case SessionState::WaitingForGame:
        case SessionState::GameOver:
            state_ = SessionState::Idle;
            return false;
        case SessionState::Asking:
            state_ = SessionState::Ending;
            return false;
        case SessionState::Playing:
            state_ = SessionState::Ending;
            if (endedGame_ >= currentGame_) return false;
            endedGame_ = currentGame_;
            return true;
        default:
            return false;  // a waiting game is the next ROM's; an ending one ends by itself
    }
}

bool SessionMachine::Close() {
    closed_ = true;
    const bool endLibraryGame = Stop();
    // Waits in our code, not in the library's: its handler ends it once woken.
    if (state_ == SessionState::GameWaiting) state_ = SessionState::Ending;
    return endLibraryGame;
}

void SessionMachine::WindowClosed() {
    windowOpen_ = false;
    if (state_ == SessionState::WaitingForGame) state_ = SessionState::GameOver;
}

SessionMachine::GameStart SessionMachine::GameStarted(int32_t localController, bool booted, bool onWorker) {
    if (!onWorker) ++foreignHandlers_;
    if (++lastGame_ == 0) ++lastGame_;
    currentGame_ = lastGame_;
    booted_ = booted;
    playerDropped_ = false;
    localState_ = ButtonState{};
    for (ButtonState& state : exchanged_) state = ButtonState{};
    request_ = ExchangeRequest{};
    localController_ = booted ? -1 : localController;

    GameStep step = GameStep::End;
    if (closed_) {
        state_ = SessionState::Ending;  // no host will ever poll it
    } else if (!romOpen_) {
        if (booted) {
            state_ = SessionState::Ending;
            step = GameStep::Boot;
        } else {
            state_ = SessionState::GameWaiting;
            step = GameStep::Wait;
        }
    } else if (++gamesThisRom_ > 1) {
        state_ = SessionState::Asking;
        step = GameStep::Ask;
    } else {
        step = Accepted();
    }
    return {currentGame_, step};
}

GameStep SessionMachine::Accepted() {
    state_ = booted_ ? SessionState::Ending : SessionState::Playing;
    return booted_ ? GameStep::Boot : GameStep::Play;
}

GameStep SessionMachine::Resume(uint32_t game) {
    if (game != currentGame_) return GameStep::End;
    if (state_ == SessionState::GameWaiting) return GameStep::Wait;
    return state_ == SessionState::Playing ? GameStep::Play : GameStep::End;
}

GameStep SessionMachine::Answered(uint32_t game, bool yes) {
    if (game != currentGame_ || state_ != SessionState::Asking) return GameStep::End;
    if (yes) return Accepted();
    state_ = SessionState::Ending;
    return GameStep::End;
}

bool SessionMachine::GameEnding(uint32_t game) {
    if (game == currentGame_ && (state_ == SessionState::Playing || state_ == SessionState::Asking ||
                                 state_ == SessionState::GameWaiting))
        state_ = SessionState::Ending;
    if (endedGame_ >= game) return false;
    endedGame_ = game;
    return true;
}

void SessionMachine::HandlerLeft(uint32_t game, bool onWorker) {
    if (!onWorker) --foreignHandlers_;
    if (game != currentGame_) return;
    currentGame_ = 0;
    if (state_ == SessionState::Ending) state_ = romOpen_ ? SessionState::GameOver : SessionState::Idle;
}

uint32_t SessionMachine::RequestExchange(uint32_t pollCount, const ButtonState* composed) {
    if (composed) localState_ = *composed;
    if (state_ != SessionState::Playing) return 0;
    if (++lastTicket_ == 0) ++lastTicket_;
    // Taken as it is now: every retry of this exchange sends the same record.
    request_ = ExchangeRequest{lastTicket_, pollCount, localState_};
    return lastTicket_;
}

bool SessionMachine::TakeRequest(uint32_t game, ExchangeRequest& request) {
    if (!Playing(game)) return false;
    request = request_.ticket != takenTicket_ ? request_ : ExchangeRequest{};
    takenTicket_ = request_.ticket;
    return true;
}

void SessionMachine::Deliver(uint32_t game, uint32_t ticket, const ExchangeRecord (&records)[kMaxNetplayPlayers],
                             int32_t playerCount) {
    if (!Playing(game)) return;
    TakeExchangedStates(records, playerCount, exchanged_);
    answeredTicket_ = ticket;
}

PollAnswer SessionMachine::AnswerFor(uint32_t ticket, int32_t control, ButtonState& state) const {
    if (ticket != 0 && answeredTicket_ == ticket) {
        state = control >= 0 && control < kMaxNetplayPlayers ? exchanged_[control] : ButtonState{};
        return PollAnswer::Ready;
    }
    if (state_ != SessionState::Playing || request_.ticket != ticket) return PollAnswer::Never;
    return PollAnswer::Pending;
}
