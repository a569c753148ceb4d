#include "netplay/netplay_session.h"

#include "framework/application.h"
#include "framework/message_box.h"
#include "framework/module_thread.h"
#include "netplay/exchange_record.h"
#include "netplay/kaillera_library.h"
#include "netplay/netplay_games.h"
#include "netplay/netplay_log_lines.h"
#include "netplay/netplay_log_window.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// The library calls plain functions; they reach the one session through this.
std::atomic<NetplaySession*> activeSession{nullptr};

// How often a thread that waits for the other side looks again at whether the game still goes on.
constexpr DWORD kRecheckMs = 250;
// A poll hands over at once when the library answers at once; a slower answer is waited for with
// the game's end in view.
constexpr DWORD kQuickAnswerMs = 20;
// The library ends a game that gets no data after some seconds (-1); a poll that waits far longer
// than that no longer expects an answer.
constexpr DWORD kPollGiveUpMs = 30000;
constexpr int kLocalPlayers = 4;

// The names are per process: two emulators on one desktop, the usual way to try netplay, must not
// signal each other's events.
bool CreateNamedEvent(Event& event, const char* name, bool manualReset, bool signalled) {
    char fullName[128];
    std::snprintf(fullName, sizeof fullName, "%s %lu", name, GetCurrentProcessId());
    return event.Create(fullName, manualReset, signalled);
}

// Players are numbered from 1 (0 watches); players 1 to 4 play controllers 0 to 3.
int32_t ControllerOfPlayer(int playerIndex) {
    return playerIndex >= 1 && playerIndex <= kLocalPlayers ? playerIndex - 1 : -1;
}

int WINAPI GameStarted(char* gameName, int playerIndex, int playerCount) {
    NetplaySession* session = activeSession;
    return session ? session->OnGameStarted(gameName, playerIndex, playerCount) : 0;
}

void WINAPI ChatReceived(char* playerName, char* text) {
    if (NetplaySession* session = activeSession) session->OnChat(playerName, text);
}

void WINAPI PlayerDropped(char* playerName, int playerNumber) {
    if (NetplaySession* session = activeSession) session->OnPlayerDropped(playerName, playerNumber);
}

void WINAPI ExtraNotice(int) {}

}  // namespace

bool NetplaySession::CreateEvents() {
    if (startEvent_) return true;
    bool created = CreateNamedEvent(startEvent_, "Tavik_Di Kaillera Start Event", true, false);
    created &= CreateNamedEvent(waitingSyncEvent_, "Tavik_Di Kaillera WaitingSync Event", false, false);
    created &= CreateNamedEvent(syncEvent_, "Tavik_Di Kaillera Sync Event", false, false);
    created &= CreateNamedEvent(inWaitEvent_, "Tavik_Di Kaillera InWait Event", false, true);
    created &= gameOverEvent_.Create(nullptr, true, true);
    created &= stopEvent_.Create(nullptr, true, false);
    if (!created) startEvent_ = Event{};  // try again at the next start
    return created;
}

void NetplaySession::Start(const NetplayLinks& links) {
    links_ = links;
    activeSession = this;
    if (!CreateEvents()) return;
    stopEvent_.Reset();
    closed_ = false;
    if (gameInProgress_) return;  // started in the window before this ROM, or RomOpen twice
    gameCount_ = 0;
    startEvent_.Reset();
    if (!worker_ || WaitForSingleObject(worker_.Get(), 0) != WAIT_TIMEOUT) {
        if (!StartWorker()) return;
    }
    // Waits for the user's choice in the library's window: a game, or closing the window.
    const HANDLE handles[] = {startEvent_.Handle(), worker_.Get(), stopEvent_.Handle()};
    WaitForMultipleObjects(3, handles, FALSE, INFINITE);
}

bool NetplaySession::StartWorker() {
    ModuleThread thread = StartModuleThread(WorkerMain, this);
    workerId_ = thread.id;
    worker_ = std::move(thread.handle);
    return static_cast<bool>(worker_);
}

DWORD WINAPI NetplaySession::WorkerMain(void* self) {
    auto* session = static_cast<NetplaySession*>(self);
    char clientName[256] = {};
    LoadModuleString(IDS_VERSION_TEXT, clientName);
    char gameNames[sizeof kOfferedGames];
    std::memcpy(gameNames, kOfferedGames, sizeof gameNames);
    // Valid while the dialog runs, which is as long as the library keeps them.
    KailleraClientInfo info{clientName, gameNames, GameStarted, ChatReceived, PlayerDropped, ExtraNotice};
    CallKailleraSetInfos(&info);
    // The library's window may outlive the plug-in's use of it, and its own threads with it.
    PinKailleraLibrary();
    session->workerInDialog_ = true;
    CallKailleraSelectServerDialog(nullptr);  // runs until the user closes the library's window
    session->workerInDialog_ = false;
    return 1;
}

void NetplaySession::Close() {
    closed_ = true;
    Stop();
}

void NetplaySession::Stop() {
    ++generation_;
    gameCount_ = 0;
    stopEvent_.Set();
    gameInProgress_ = false;
    gameOverEvent_.Set();
    // A handler blocked inside the library (its first exchange waits for the other players) comes
    // back at once with the game's end.
    if (handlerRunning_) EndLibraryGame();
}

void NetplaySession::WaitForForeignHandler(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (handlerRunning_ && handlerThread_ != workerId_ && GetTickCount64() < deadline) Sleep(1);
}

void NetplaySession::EndLibraryGame() {
    if (!libraryGameEnded_.exchange(true)) CallKailleraEndGame();
}

void NetplaySession::Log(const char* line) const {
    if (links_.log) links_.log->AppendLine(line);
}

bool NetplaySession::GameGoesOn(uint32_t generation) const {
    return generation_ == generation;
}

int NetplaySession::OnGameStarted(const char* gameName, int playerIndex, int playerCount) {
    const uint32_t generation = generation_;
    handlerThread_ = GetCurrentThreadId();
    handlerRunning_ = true;
    libraryGameEnded_ = false;
    playerDropped_ = false;

    Ending ending = Ending::Stopped;
    bool showedLog = false;
    // After CloseDLL no host will ever poll this game.
    if (!closed_) {
        localState_ = ButtonState{};
        for (ButtonState& state : exchangedStates_) state = ButtonState{};
        if (links_.viewLog && links_.log && !links_.log->Shown()) {
            links_.log->Show();
            showedLog = true;
        }
        // No signal left over from an earlier game may pair a poll with the wrong cycle.
        waitingSyncEvent_.Reset();
        syncEvent_.Reset();
        inWaitEvent_.Reset();
        gameOverEvent_.Reset();
        mode_ = ModeOfGame(gameName);
        roundExchange_.Reset();
        ++gameSerial_;
        const bool booted = playerCount > kLocalPlayers || playerIndex > kLocalPlayers;
        localController_ = booted ? -1 : ControllerOfPlayer(playerIndex);
        gameInProgress_ = true;
        const int32_t gamesSoFar = ++gameCount_;
        startEvent_.Set();

        if (gamesSoFar <= 1 || AppMessageBox(kReplayQuestion, MB_YESNO | MB_ICONSTOP) == IDYES) {
            Log(GameStartLine(gameName, playerIndex - 1).c_str());
            if (booted) {
                Log(kBootedLine);
                AppMessageBox(kTooManyPlayersText, MB_OK | MB_ICONSTOP);
            } else {
                ending = RunCycles(playerCount, generation);
            }
        }
    }

    // Every waiting poll goes on before anything else, a box included.
    gameInProgress_ = false;
    gameOverEvent_.Set();
    EndLibraryGame();
    // A player who left, or our own stop, explains the end; the log already says so.
    const std::string failure = ending == Ending::TimedOut    ? kTimeOutText
                                : ending == Ending::OutOfStep ? OutOfStepText(roundExchange_.Fault())
                                                              : std::string();
    if (!failure.empty()) {
        Log(failure.c_str());
        AppMessageBox(failure.c_str(), MB_OK | MB_ICONSTOP);
    }
    Log(GameOverLine(gameName).c_str());
    if (showedLog) links_.log->Hide();
    handlerRunning_ = false;
    return 0;
}

NetplaySession::Ending NetplaySession::RunCycles(int32_t playerCount, uint32_t generation) {
    ExchangeRecord buffer[kMaxNetplayPlayers] = {};
    bool answered = false;
    for (;;) {
        // Say the next poll may come before answering the one just served, so that it finds the
        // way open; answering and waiting for it are one step.
        inWaitEvent_.Set();
        const bool polled = answered ? SignalAndWait(syncEvent_, waitingSyncEvent_, kRecheckMs)
                                     : waitingSyncEvent_.Wait(kRecheckMs);
        if (!polled) {
            do {
                if (!GameGoesOn(generation)) return Ending::Stopped;
            } while (!WaitUnless(waitingSyncEvent_, stopEvent_, kRecheckMs));
        }
        inWaitEvent_.Reset();
        if (!GameGoesOn(generation)) return Ending::Stopped;
        const Ending ending = mode_ == ExchangeMode::PerRound ? ExchangeRound(playerCount, generation, buffer)
                                                               : Exchange(playerCount, generation, buffer);
        if (ending != Ending::None) return ending;
        answered = true;
    }
}

NetplaySession::Ending NetplaySession::Exchange(int32_t playerCount, uint32_t generation,
                                                ExchangeRecord (&buffer)[kMaxNetplayPlayers]) {
    for (;;) {
        if (!GameGoesOn(generation)) return Ending::Stopped;
        buffer[0] = ExchangeRecord{pollCount_, localState_};
        const uint32_t sentPollCount = buffer[0].pollCount;
        const int32_t result = CallKailleraModifyPlayValues(buffer, sizeof(ExchangeRecord));
        if (result == -1) return GameOverAnswer(generation);
        if (result > 0 && ExchangeComplete(buffer, playerCount, sentPollCount)) {
            TakeExchangedStates(buffer, playerCount, exchangedStates_);
            return Ending::None;
        }
        // Not ready yet, or a player lags behind: send again at once.
    }
}

NetplaySession::Ending NetplaySession::ExchangeRound(int32_t playerCount, uint32_t generation,
                                                     ExchangeRecord (&buffer)[kMaxNetplayPlayers]) {
    // Never sent again: each call is a round to the library, and a second one would be the next.
    if (!GameGoesOn(generation)) return Ending::Stopped;
    buffer[0] = roundExchange_.Outgoing(localState_);
    const int32_t result = CallKailleraModifyPlayValues(buffer, sizeof(ExchangeRecord));
    if (result == -1) return GameOverAnswer(generation);
    switch (roundExchange_.Take(result, buffer, playerCount, exchangedStates_)) {
    case RoundExchange::Outcome::OutOfStep:
        return Ending::OutOfStep;
    case RoundExchange::Outcome::DelayKnown:
        Log(InputDelayLine(roundExchange_.Delay()).c_str());
        break;
    default:
        break;
    }
    return Ending::None;
}

NetplaySession::Ending NetplaySession::GameOverAnswer(uint32_t generation) const {
    if (!GameGoesOn(generation)) return Ending::Stopped;
    return playerDropped_ ? Ending::Dropped : Ending::TimedOut;
}

bool NetplaySession::BeginsRound(int32_t control) {
    if (pollRoundsGame_ != gameSerial_) {
        pollRounds_.Reset();
        pollRoundsGame_ = gameSerial_;
    }
    return pollRounds_.BeginsRound(control);
}

ButtonState NetplaySession::Poll(int32_t control, uint32_t pollCount, const void* devices) {
    ButtonState word{};
    if (gameInProgress_) {
        // The full-speed game exchanges at the round's first poll only, and sends the local
        // player's input as it is then, whichever controller that poll asks for.
        const bool perRound = mode_ == ExchangeMode::PerRound;
        if (perRound && !BeginsRound(control)) return exchangedStates_[control];
        pollCount_ = pollCount;
        const bool composes = perRound ? localController_ >= 0 : control == localController_;
        if (composes && links_.composeLocalState) links_.composeLocalState(devices, &localState_);
        if (WaitUnless(inWaitEvent_, gameOverEvent_, kPollGiveUpMs) &&
            (SignalAndWait(waitingSyncEvent_, syncEvent_, kQuickAnswerMs) ||
             WaitUnless(syncEvent_, gameOverEvent_, kPollGiveUpMs)))
            return exchangedStates_[control];
    }
    // No game: the local player goes on with live input, the others stand still.
    if (control == localController_ && links_.composeLocalState) links_.composeLocalState(devices, &word);
    return word;
}

void NetplaySession::OnChat(const char* playerName, const char* text) { Log(ChatLine(playerName, text).c_str()); }

void NetplaySession::OnPlayerDropped(const char* playerName, int playerNumber) {
    playerDropped_ = true;
    Log(PlayerDroppedLine(playerName, playerNumber).c_str());
}
