#include "netplay/netplay_game.h"

#include "framework/application.h"
#include "framework/message_box.h"
#include "netplay/exchange_record.h"
#include "netplay/kaillera_library.h"
#include "netplay/netplay_log_lines.h"
#include "netplay/netplay_log_window.h"
#include "plugin/plugin_state.h"
#include "resources/resource_ids.h"

#include <cstdio>
#include <string>

namespace {

NetplayGame& Game() { return pluginState.game; }

constexpr DWORD kStopBudgetMs = 500;

void Log(const std::string& line) { netplayLogWindow.AppendLine(line.c_str()); }

// The names are per process: two emulators on one desktop, the usual way to try netplay, must not
// signal each other's events.
UniqueKernelHandle CreateNamedEvent(const char* name, bool manualReset, bool signalled) {
    char fullName[128];
    std::snprintf(fullName, sizeof fullName, "%s %lu", name, GetCurrentProcessId());
    return UniqueKernelHandle(CreateEventA(nullptr, manualReset, signalled, fullName));
}

// Waits for `event` unless the game ends first; false when it ended (or the event is gone).
bool WaitDuringGame(const UniqueKernelHandle& event) {
    const HANDLE handles[] = {event.Get(), Game().gameOverEvent.Get()};
    return WaitForMultipleObjects(2, handles, FALSE, INFINITE) == WAIT_OBJECT_0;
}

bool Playing() { return Game().gameCount != 0 && Game().workerActive; }

// One exchange: sends our record until every player's record is at least as recent. False when the
// library timed out, which ends the game.
bool Exchange(int32_t playerCount, ExchangeRecord (&buffer)[kMaxNetplayPlayers]) {
    NetplayGame& game = Game();
    for (;;) {
        buffer[0] = ExchangeRecord{game.pollCount, game.localState};
        const uint32_t sentPollCount = buffer[0].pollCount;
        const int32_t result = CallKailleraModifyPlayValues(buffer, sizeof(ExchangeRecord));
        if (result == -1) {
            Log(kTimeOutText);
            AppMessageBox(kTimeOutText, MB_OK | MB_ICONSTOP);
            return false;
        }
        if (result > 0 && ExchangeComplete(buffer, playerCount, sentPollCount)) return true;
        // Not ready yet, or a player lags behind: send again at once.
    }
}

void RunExchangeCycles(int32_t playerCount) {
    NetplayGame& game = Game();
    ExchangeRecord buffer[kMaxNetplayPlayers] = {};
    while (Playing()) {
        SetEvent(game.inWaitEvent.Get());
        WaitForSingleObject(game.waitingSyncEvent.Get(), INFINITE);
        ResetEvent(game.inWaitEvent.Get());
        if (!Playing() || !Exchange(playerCount, buffer)) return;
        TakeExchangedStates(buffer, playerCount, game.exchangedStates);
        SetEvent(game.syncEvent.Get());
    }
}

int WINAPI NetplayGameStarted(char* gameName, int playerIndex, int playerCount) {
    NetplayGame& game = Game();
    game.handlerRunning = true;
    game.localState = ButtonState{};
    for (ButtonState& state : game.exchangedStates) state = ButtonState{};

    bool showedLog = false;
    if (pluginState.netplay.ViewLog && !netplayLogWindow.Shown()) {
        netplayLogWindow.Show();
        showedLog = true;
    }

    // No signal left over from an earlier game may pair a poll with the wrong cycle.
    ResetEvent(game.waitingSyncEvent.Get());
    ResetEvent(game.syncEvent.Get());
    ResetEvent(game.gameOverEvent.Get());
    game.gameInProgress = true;
    const int32_t gamesSoFar = ++game.gameCount;
    game.localController = playerIndex;
    SetEvent(game.startEvent.Get());

    const bool play = gamesSoFar <= 1 || AppMessageBox(kReplayQuestion, MB_YESNO | MB_ICONSTOP) == IDYES;
    if (play) {
        Log(GameStartLine(gameName, playerIndex));
        if (playerCount > kMaxNetplayPlayers) {
            Log(kBootedLine);
            AppMessageBox(kTooManyPlayersText, MB_OK | MB_ICONSTOP);
        } else {
            RunExchangeCycles(playerCount);
        }
    }

    // Releases any poll waiting for a cycle that will not come.
    game.gameInProgress = false;
    SetEvent(game.gameOverEvent.Get());
    CallKailleraEndGame();
    Log(GameOverLine(gameName));
    if (showedLog) netplayLogWindow.Hide();
    game.handlerRunning = false;
    return 0;
}

void WINAPI NetplayChatReceived(char* playerName, char* text) { Log(ChatLine(playerName, text)); }

void WINAPI NetplayPlayerDropped(char* playerName, int playerNumber) {
    Log(PlayerDroppedLine(playerName, playerNumber));
}

void WINAPI NetplayExtraNotice(int) {}

DWORD WINAPI NetplayWorker(void*) {
    char clientName[256] = {};
    LoadModuleString(IDS_VERSION_TEXT, clientName);
    char gameNames[] = "Unknown N64 Game\0";  // the list ends with an empty name
    KailleraClientInfo info{clientName,         gameNames, NetplayGameStarted, NetplayChatReceived,
                            NetplayPlayerDropped, NetplayExtraNotice};
    Game().workerActive = true;
    CallKailleraSetInfos(&info);
    CallKailleraSelectServerDialog(nullptr);  // runs until the user closes the library's dialog
    Game().workerActive = false;
    return 1;
}

}  // namespace

int32_t LocalComposeController(int32_t localController) {
    return localController >= 0 && localController < kMaxNetplayPlayers ? localController : 0;
}

void StartNetplay() {
    StopNetplay();
    NetplayGame& game = Game();
    game.startEvent = CreateNamedEvent("Tavik_Di Kaillera Start Event", true, false);
    game.waitingSyncEvent = CreateNamedEvent("Tavik_Di Kaillera WaitingSync Event", false, false);
    game.syncEvent = CreateNamedEvent("Tavik_Di Kaillera Sync Event", false, false);
    game.inWaitEvent = CreateNamedEvent("Tavik_Di Kaillera InWait Event", false, true);
    game.gameOverEvent.Reset(CreateEventA(nullptr, TRUE, TRUE, nullptr));
    game.workerThread.Reset(CreateThread(nullptr, 0, NetplayWorker, nullptr, 0, &game.workerThreadId));
    if (!game.workerThread) return;
    // Until a game starts, or until the user closes the server dialog without starting one.
    const HANDLE handles[] = {game.startEvent.Get(), game.workerThread.Get()};
    WaitForMultipleObjects(2, handles, FALSE, INFINITE);
}

void StopNetplay(bool processTerminating) {
    NetplayGame& game = Game();
    game.gameCount = 0;
    game.workerActive = false;
    game.gameInProgress = false;
    for (const UniqueKernelHandle* event : {&game.waitingSyncEvent, &game.syncEvent, &game.gameOverEvent})
        if (*event) SetEvent(event->Get());

    if (game.workerThread) {
        if (processTerminating) {
            game.workerThread.Detach();  // already gone with the process's other threads
        } else {
            const ULONGLONG deadline = GetTickCount64() + kStopBudgetMs;
            if (WaitForSingleObject(game.workerThread.Get(), kStopBudgetMs) == WAIT_TIMEOUT)
                TerminateThread(game.workerThread.Get(), static_cast<DWORD>(-1));
            // A game handler that was told to end gets what is left of the budget to do so, so
            // that it does not touch the events after they are closed.
            while (game.handlerRunning && GetTickCount64() < deadline) Sleep(1);
        }
        game.workerThread.Reset();
        game.workerThreadId = 0;
    }
    for (UniqueKernelHandle* event :
         {&game.startEvent, &game.waitingSyncEvent, &game.syncEvent, &game.inWaitEvent, &game.gameOverEvent})
        event->Reset();
}

void NetplayFrameHandoff() {
    NetplayGame& game = Game();
    // Outside a game (or before the events exist) no cycle will answer: return at once.
    if (!game.inWaitEvent || !game.gameInProgress) return;
    if (!WaitDuringGame(game.inWaitEvent)) return;
    SetEvent(game.waitingSyncEvent.Get());
    WaitDuringGame(game.syncEvent);
}
