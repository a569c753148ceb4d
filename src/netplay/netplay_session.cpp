#include "netplay/netplay_session.h"

#include "framework/application.h"
#include "framework/message_box.h"
#include "framework/module_thread.h"
#include "netplay/kaillera_library.h"
#include "netplay/netplay_games.h"
#include "netplay/netplay_log_lines.h"
#include "netplay/netplay_log_window.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <type_traits>

namespace {

// The library calls plain functions; they reach the one session through this.
std::atomic<NetplaySession*> activeSession{nullptr};

// A poll hands over at once when the library answers at once; a slower answer is waited for with
// the game's end in view.
constexpr DWORD kQuickAnswerMs = 20;
// The library ends a game that gets no data after some seconds (-1); a poll that waits far longer
// than that no longer expects an answer, and a later poll never takes its exchange.
constexpr DWORD kPollGiveUpMs = 30000;
constexpr int kLocalPlayers = 4;

// The names are per process: two emulators on one desktop, the usual way to try netplay, must not
// signal each other's events.
template <typename Event>
bool CreateNamedEvent(Event& event, const char* name, bool signalled) {
    char fullName[128];
    std::snprintf(fullName, sizeof fullName, "%s %lu", name, GetCurrentProcessId());
    return event.Create(fullName, signalled);
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

template <typename Rule>
auto NetplaySession::Apply(Rule rule) {
    std::lock_guard<SlimLock> lock(lock_);
    if constexpr (std::is_void_v<decltype(rule(machine_))>) {
        rule(machine_);
        ShowState();
    } else {
        auto result = rule(machine_);
        ShowState();
        return result;
    }
}

void NetplaySession::ShowState() {
    const SessionState state = machine_.State();
    if (state == SessionState::Playing) notPlayingEvent_.Reset();
    else notPlayingEvent_.Set();
    if (state == SessionState::GameWaiting) noGameWaitingEvent_.Reset();
    else noGameWaitingEvent_.Set();
    if (state == SessionState::WaitingForGame) startEvent_.Reset();
    else startEvent_.Set();
}

bool NetplaySession::StillPlaying(uint32_t game) {
    std::lock_guard<SlimLock> lock(lock_);
    return machine_.Playing(game);
}

bool NetplaySession::CreateEvents() {
    if (startEvent_) return true;
    bool created = CreateNamedEvent(startEvent_, "Tavik_Di Kaillera Start Event", false);
    created &= CreateNamedEvent(waitingSyncEvent_, "Tavik_Di Kaillera WaitingSync Event", false);
    created &= CreateNamedEvent(syncEvent_, "Tavik_Di Kaillera Sync Event", false);
    created &= CreateNamedEvent(inWaitEvent_, "Tavik_Di Kaillera InWait Event", true);
    created &= notPlayingEvent_.Create(nullptr, true);
    created &= noGameWaitingEvent_.Create(nullptr, true);
    if (!created) startEvent_ = ManualResetEvent{};  // try again at the next start
    return created;
}

void NetplaySession::Start(const NetplayLinks& links) {
    activeSession = this;
    inUse_.store(true, std::memory_order_release);
    if (!CreateEvents()) return;
    const bool needWorker = Apply([&](SessionMachine& machine) {
        links_ = links;
        return machine.Start();
    });
    if (needWorker && !StartWorker()) Apply([](SessionMachine& machine) { machine.WindowClosed(); });
    // The user's choice in the library's window: a game, or closing the window; or a Stop.
    startEvent_.Wait(INFINITE);
}

bool NetplaySession::StartWorker() {
    // The thread keeps the plug-in loaded for as long as the library's window may call back.
    return static_cast<bool>(StartModuleThread(WorkerMain, this));
}

DWORD WINAPI NetplaySession::WorkerMain(void* self) {
    auto* session = static_cast<NetplaySession*>(self);
    {
        std::lock_guard<SlimLock> lock(session->lock_);
        session->workerId_ = GetCurrentThreadId();
    }
    char clientName[256] = {};
    LoadModuleString(IDS_VERSION_TEXT, clientName);
    char gameNames[sizeof kOfferedGames];
    std::memcpy(gameNames, kOfferedGames, sizeof gameNames);
    // Valid while the dialog runs, which is as long as the library keeps them.
    KailleraClientInfo info{clientName, gameNames, GameStarted, ChatReceived, PlayerDropped, ExtraNotice};
    CallKailleraSetInfos(&info);
    HoldKailleraLibrary(KailleraNeed::ServerWindow, nullptr);
    CallKailleraSelectServerDialog(nullptr);  // runs until the user closes the library's window
    session->Apply([](SessionMachine& machine) { machine.WindowClosed(); });
    // The last need shuts the library down here, on this thread: never under the loader lock, and
    // never while its window lives.
    ReleaseKailleraLibrary(KailleraNeed::ServerWindow);
    return 1;
}

void NetplaySession::EndLibraryGameIf(bool needed) const {
    // A handler blocked inside the library (its first exchange waits for the other players) comes
    // back at once with the game's end.
    if (needed) CallKailleraEndGame();
}

void NetplaySession::Stop() {
    EndLibraryGameIf(Apply([](SessionMachine& machine) { return machine.Stop(); }));
}

void NetplaySession::StartWithoutNetplay() {
    Stop();
    inUse_.store(false, std::memory_order_release);
}

void NetplaySession::Close() {
    EndLibraryGameIf(Apply([](SessionMachine& machine) { return machine.Close(); }));
}

void NetplaySession::WaitForForeignHandler(DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        {
            std::lock_guard<SlimLock> lock(lock_);
            if (machine_.ForeignHandlers() <= 0) return;
        }
        if (GetTickCount64() >= deadline) return;
        Sleep(1);
    }
}

void NetplaySession::Log(const char* line) {
    NetplayLogWindow* log = nullptr;
    {
        std::lock_guard<SlimLock> lock(lock_);
        log = links_.log;
    }
    if (log) log->AppendLine(line);
}

int NetplaySession::OnGameStarted(const char* gameName, int playerIndex, int playerCount) {
    const bool booted = playerCount > kLocalPlayers || playerIndex > kLocalPlayers;
    NetplayLinks links;
    bool onWorker = false;
    const ExchangeKind kind = ExchangeKindOfGame(gameName);
    RoundExchange rounds;  // the full-speed game's, on this handler's stack as its buffer
    const SessionMachine::GameStart start = Apply([&](SessionMachine& machine) {
        links = links_;
        onWorker = GetCurrentThreadId() == workerId_;
        kind_ = kind;
        ++roundsGame_;
        return machine.GameStarted(ControllerOfPlayer(playerIndex), booted, onWorker);
    });
    const uint32_t game = start.game;
    GameStep step = start.step;

    bool showedLog = false;
    if (step != GameStep::End && links.viewLog && links.log && !links.log->Shown()) {
        links.log->Show();
        showedLog = true;
    }
    bool announced = false;
    const auto announce = [&] {
        if (!announced) Log(GameStartLine(gameName, playerIndex - 1).c_str());
        announced = true;
    };
    // Neither the wait nor the question holds a poll: the game does not play meanwhile.
    for (;;) {
        if (step == GameStep::Wait) {
            announce();
            noGameWaitingEvent_.Wait(INFINITE);  // stays clear until a ROM takes it or the plug-in closes
            step = Apply([&](SessionMachine& machine) { return machine.Resume(game); });
        } else if (step == GameStep::Ask) {
            const bool yes = AppMessageBox(kReplayQuestion, MB_YESNO | MB_ICONSTOP) == IDYES;
            step = Apply([&](SessionMachine& machine) { return machine.Answered(game, yes); });
        } else {
            break;
        }
    }

    Ending ending = Ending::Stopped;
    if (step == GameStep::Boot) {
        announce();
        Log(kBootedLine);
        AppMessageBox(kTooManyPlayersText, MB_OK | MB_ICONSTOP);
    } else if (step == GameStep::Play) {
        announce();
        ending = RunCycles(game, playerCount, kind == ExchangeKind::PerRound ? &rounds : nullptr);
    }

    // Every waiting poll goes on before anything else, a box included.
    bool dropped = false;
    EndLibraryGameIf(Apply([&](SessionMachine& machine) {
        dropped = machine.PlayerDropped();
        return machine.GameEnding(game);
    }));
    // A player who left, or our own stop, explains the end; the log already says so.
    const std::string failure = ending == Ending::TimedOut && !dropped ? kTimeOutText
                                : ending == Ending::OutOfStep          ? OutOfStepText(rounds.Fault())
                                                                       : std::string();
    if (!failure.empty()) {
        Log(failure.c_str());
        AppMessageBox(failure.c_str(), MB_OK | MB_ICONSTOP);
    }
    Log(GameOverLine(gameName).c_str());
    if (showedLog) links.log->Hide();
    Apply([&](SessionMachine& machine) { machine.HandlerLeft(game, onWorker); });
    return 0;
}

NetplaySession::Ending NetplaySession::RunCycles(uint32_t game, int32_t playerCount, RoundExchange* rounds) {
    ExchangeRecord buffer[kMaxNetplayPlayers] = {};
    bool answered = false;
    for (;;) {
        // Say the next poll may come before answering the one just served, so that it finds the
        // way open; answering and waiting for it are one step.
        inWaitEvent_.Set();
        const bool polled = answered && SignalAndWait(syncEvent_, waitingSyncEvent_, kQuickAnswerMs);
        if (!polled) WaitUnless(waitingSyncEvent_, notPlayingEvent_, INFINITE);
        answered = false;
        inWaitEvent_.Reset();
        ExchangeRequest request;
        bool playing = false;
        {
            std::lock_guard<SlimLock> lock(lock_);
            playing = machine_.TakeRequest(game, request);
        }
        if (!playing) return Ending::Stopped;
        if (request.ticket == 0) continue;
        const Ending ending = rounds ? ExchangeRound(game, request, playerCount, *rounds, buffer)
                                     : Exchange(game, request, playerCount, buffer);
        if (ending != Ending::None) return ending;
        {
            std::lock_guard<SlimLock> lock(lock_);
            machine_.Deliver(game, request.ticket, buffer, playerCount);
        }
        answered = true;
    }
}

NetplaySession::Ending NetplaySession::Exchange(uint32_t game, const ExchangeRequest& request, int32_t playerCount,
                                                ExchangeRecord (&buffer)[kMaxNetplayPlayers]) {
    for (;;) {
        if (!StillPlaying(game)) return Ending::Stopped;
        // The poll count captured at the hand-off, never the current one: a retry is the same poll's.
        buffer[0] = ExchangeRecord{request.pollCount, request.localState};
        const int32_t result = CallKailleraModifyPlayValues(buffer, sizeof(ExchangeRecord));
        if (result == -1) return StillPlaying(game) ? Ending::TimedOut : Ending::Stopped;
        if (result > 0 && ExchangeComplete(buffer, playerCount, request.pollCount)) return Ending::None;
        // Not ready yet, or a player lags behind: send again at once.
    }
}

NetplaySession::Ending NetplaySession::ExchangeRound(uint32_t game, const ExchangeRequest& request, int32_t playerCount,
                                                     RoundExchange& rounds, ExchangeRecord (&buffer)[kMaxNetplayPlayers]) {
    // Never sent again: each call is a round to the library, and a second one would be the next.
    if (!StillPlaying(game)) return Ending::Stopped;
    buffer[0] = rounds.Outgoing(request.localState);
    const int32_t result = CallKailleraModifyPlayValues(buffer, sizeof(ExchangeRecord));
    if (result == -1) return StillPlaying(game) ? Ending::TimedOut : Ending::Stopped;
    switch (rounds.Take(result, buffer, playerCount)) {
    case RoundExchange::Outcome::OutOfStep:
        return Ending::OutOfStep;
    case RoundExchange::Outcome::DelayKnown:
        Log(InputDelayLine(rounds.Delay()).c_str());
        break;
    default:
        break;
    }
    for (int i = 0; i < kMaxNetplayPlayers; ++i) buffer[i].state = rounds.States()[i];
    return Ending::None;
}

bool NetplaySession::BeginsRound(int32_t control, uint32_t roundsGame) {
    if (pollRoundsGame_ != roundsGame) {
        pollRounds_.Reset();
        pollRoundsGame_ = roundsGame;
    }
    return pollRounds_.BeginsRound(control);
}

bool NetplaySession::AwaitExchange(uint32_t ticket, int32_t control, ButtonState& state) {
    const ULONGLONG deadline = GetTickCount64() + kPollGiveUpMs;
    // The cycle answers at once when the library does: hand over and wait in one step.
    SignalAndWait(waitingSyncEvent_, syncEvent_, kQuickAnswerMs);
    for (;;) {
        PollAnswer answer;
        {
            std::lock_guard<SlimLock> lock(lock_);
            answer = machine_.AnswerFor(ticket, control, state);
        }
        if (answer != PollAnswer::Pending) return answer == PollAnswer::Ready;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        // A Sync left by an exchange whose poll gave up is taken here and found not to be ours.
        WaitUnless(syncEvent_, notPlayingEvent_, static_cast<DWORD>(deadline - now));
    }
}

ButtonState NetplaySession::Poll(int32_t control, uint32_t pollCount, const void* devices) {
    bool local = false, isPlayer = false, perRound = false;
    uint32_t roundsGame = 0;
    void (*compose)(const void*, ButtonState*) = nullptr;
    {
        std::lock_guard<SlimLock> lock(lock_);
        local = control == machine_.LocalController();
        isPlayer = machine_.LocalController() >= 0;
        perRound = kind_ == ExchangeKind::PerRound && machine_.State() == SessionState::Playing;
        roundsGame = roundsGame_;
        compose = links_.composeLocalState;
    }
    // The full-speed game exchanges at a round's first poll only, with the local player's input as
    // it is then, whichever controller that poll is for; the round's other polls read its exchange.
    const bool beginsRound = perRound && BeginsRound(control, roundsGame);
    const bool composes = local || (beginsRound && isPlayer);
    ButtonState composed{};
    if (composes && compose) compose(devices, &composed);
    ButtonState exchanged{};
    if (perRound && !beginsRound) {
        std::lock_guard<SlimLock> lock(lock_);
        if (machine_.AnswerFor(roundTicket_, control, exchanged) == PollAnswer::Ready) return exchanged;
    } else {
        uint32_t ticket = 0;
        {
            std::lock_guard<SlimLock> lock(lock_);
            ticket = machine_.RequestExchange(pollCount, composes ? &composed : nullptr);
        }
        if (perRound) roundTicket_ = ticket;
        if (ticket != 0 && AwaitExchange(ticket, control, exchanged)) return exchanged;
    }
    // No game, or none answers this poll: the local player goes on with live input, the others
    // stand still.
    return local ? composed : ButtonState{};
}

void NetplaySession::OnChat(const char* playerName, const char* text) { Log(ChatLine(playerName, text).c_str()); }

void NetplaySession::OnPlayerDropped(const char* playerName, int playerNumber) {
    {
        std::lock_guard<SlimLock> lock(lock_);
        machine_.OnPlayerDropped();
    }
    Log(PlayerDroppedLine(playerName, playerNumber).c_str());
}
