// The FakeK_* control exports declared in fake_kaillera_control.h: a test reads back what the
// plug-in did and plays the network's and the dialog user's part.
#include <algorithm>

#include "fake_client.h"
#include "fake_kaillera_state.h"

using fakek::State;

namespace {

constexpr DWORD kNoticeTimeoutMs = 5000;

DWORD boundedTimeout(int32_t timeoutMs) { return static_cast<DWORD>(std::max<int32_t>(timeoutMs, 0)); }

DWORD WINAPI runGame(void* parameter) {
    auto* game = static_cast<fakek::GameRun*>(parameter);
    const int result =
        game->callback(game->hasName ? game->name.data() : nullptr, game->playerIndex, game->playerCount);
    fakek::endFakeThread(static_cast<DWORD>(result));
}

// A chat line or a dropped player, delivered on a thread of the fake's own like the real library's
// notices. The thread owns the copy, so a caller that gave up waiting may free its texts.
struct Notice {
    fakek::ChatCallback chat = nullptr;
    fakek::DroppedCallback dropped = nullptr;
    std::string nick;
    std::string text;
    bool hasNick = false;
    bool hasText = false;
    int playerNumber = 0;
};

DWORD WINAPI deliverNotice(void* parameter) {
    auto* notice = static_cast<Notice*>(parameter);
    char* nick = notice->hasNick ? notice->nick.data() : nullptr;
    if (notice->chat) notice->chat(nick, notice->hasText ? notice->text.data() : nullptr);
    if (notice->dropped) notice->dropped(nick, notice->playerNumber);
    delete notice;
    fakek::endFakeThread(0);
}

void sendNotice(Notice* notice) {
    HANDLE thread = fakek::startFakeThread(deliverNotice, notice);
    if (!thread) {
        delete notice;
        return;
    }
    WaitForSingleObject(thread, kNoticeTimeoutMs);
    CloseHandle(thread);
}

}  // namespace

extern "C" {

void __cdecl FakeK_Reset(void) {
    State& state = State::instance();
    auto lock = state.lock();
    state.reset();
}

int32_t __cdecl FakeK_CallLog(char* buffer, int32_t size) {
    State& state = State::instance();
    auto lock = state.lock();
    const std::string log = state.callLogText();
    fakek::copyText(log, buffer, size);
    return static_cast<int32_t>(log.size());
}

int32_t __cdecl FakeK_CallCount(const char* entryPoint) {
    State& state = State::instance();
    auto lock = state.lock();
    return state.callCount(entryPoint);
}

void __cdecl FakeK_ClientInfo(char* clientName, int32_t nameSize, char* gameList, int32_t listSize) {
    State& state = State::instance();
    auto lock = state.lock();
    fakek::copyText(state.clientName, clientName, nameSize);
    fakek::copyText(state.gameList, gameList, listSize);
}

int32_t __cdecl FakeK_ChatSent(int32_t index, char* buffer, int32_t size) {
    State& state = State::instance();
    auto lock = state.lock();
    if (index < 0 || static_cast<size_t>(index) >= state.chatsSent.size()) return 0;
    fakek::copyText(state.chatsSent[index], buffer, size);
    return 1;
}

int32_t __cdecl FakeK_SentCount(void) {
    State& state = State::instance();
    auto lock = state.lock();
    return static_cast<int32_t>(state.recordsSent.size());
}

int32_t __cdecl FakeK_Sent(int32_t index, FakeKRecord* out) {
    State& state = State::instance();
    auto lock = state.lock();
    if (index < 0 || static_cast<size_t>(index) >= state.recordsSent.size()) return 0;
    if (out) *out = state.recordsSent[index];
    return 1;
}

int32_t __cdecl FakeK_ServerDialogOpen(void) {
    State& state = State::instance();
    auto lock = state.lock();
    return state.dialogOpen() ? 1 : 0;
}

intptr_t __cdecl FakeK_ServerDialogParent(void) {
    State& state = State::instance();
    auto lock = state.lock();
    return state.dialogParent;
}

void __cdecl FakeK_SetVersion(const char* text) {
    State& state = State::instance();
    auto lock = state.lock();
    state.version = text ? text : fakek::kDefaultVersion;
}

int32_t __cdecl FakeK_WaitServerDialog(int32_t timeoutMs) {
    State& state = State::instance();
    const ULONGLONG deadline = GetTickCount64() + boundedTimeout(timeoutMs);
    for (;;) {
        HANDLE entered = nullptr;
        {
            auto lock = state.lock();
            if (state.dialogOpen()) return 1;
            entered = state.dialogEntered;
        }
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return 0;
        // Short slices: the event can stay set for a dialog whose thread was terminated.
        WaitForSingleObject(entered, static_cast<DWORD>(std::min<ULONGLONG>(deadline - now, 20)));
    }
}

void __cdecl FakeK_StartGame(const char* gameName, int32_t playerIndex, int32_t playerCount) {
    if (fakek::clientMode()) return fakek::clientStartGame(gameName, playerIndex, playerCount);
    State& state = State::instance();
    auto lock = state.lock();
    if (!state.callbacks.gameCallback) return;  // kailleraSetInfos gave no handler to call
    fakek::GameRun* game = state.startGame(gameName, playerIndex, playerCount);
    game->thread = fakek::startFakeThread(runGame, game);
}

int32_t __cdecl FakeK_GameRunning(void) {
    State& state = State::instance();
    auto lock = state.lock();
    const fakek::GameRun* game = state.latestGame();
    const HANDLE ended = game ? (game->thread ? game->thread : game->done) : nullptr;
    return ended && WaitForSingleObject(ended, 0) == WAIT_TIMEOUT ? 1 : 0;
}

int32_t __cdecl FakeK_WaitGameEnd(int32_t timeoutMs, int32_t* result) {
    State& state = State::instance();
    HANDLE thread = nullptr;
    {
        // A handle of our own, since a reset closes the game's while we wait.
        auto lock = state.lock();
        const fakek::GameRun* game = state.latestGame();
        const HANDLE ended = game ? (game->thread ? game->thread : game->done) : nullptr;
        if (!ended) return 0;
        DuplicateHandle(GetCurrentProcess(), ended, GetCurrentProcess(), &thread, 0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    if (!thread) return 0;
    const bool ended = WaitForSingleObject(thread, boundedTimeout(timeoutMs)) == WAIT_OBJECT_0;
    DWORD exitCode = 0;
    if (ended && result) {
        auto lock = state.lock();
        const fakek::GameRun* game = state.latestGame();
        if (game && !game->thread) *result = game->result;
        else if (GetExitCodeThread(thread, &exitCode)) *result = static_cast<int32_t>(exitCode);
    }
    CloseHandle(thread);
    return ended ? 1 : 0;
}

void __cdecl FakeK_ReceiveChat(const char* nick, const char* text) {
    auto* notice = new Notice;
    {
        State& state = State::instance();
        auto lock = state.lock();
        notice->chat = state.callbacks.chatReceivedCallback;
    }
    if (!notice->chat) {
        delete notice;
        return;
    }
    notice->hasNick = nick != nullptr;
    notice->nick = nick ? nick : "";
    notice->hasText = text != nullptr;
    notice->text = text ? text : "";
    sendNotice(notice);
}

void __cdecl FakeK_DropPlayer(const char* nick, int32_t playerNumber) {
    if (fakek::clientMode()) return fakek::clientOtherPlayerLeaves(nick, playerNumber);
    auto* notice = new Notice;
    {
        State& state = State::instance();
        auto lock = state.lock();
        notice->dropped = state.callbacks.clientDroppedCallback;
    }
    if (!notice->dropped) {
        delete notice;
        return;
    }
    notice->hasNick = nick != nullptr;
    notice->nick = nick ? nick : "";
    notice->playerNumber = playerNumber;
    sendNotice(notice);
}

void __cdecl FakeK_CloseServerDialog(void) {
    if (fakek::clientMode()) return fakek::clientCloseWindow();
    State& state = State::instance();
    auto lock = state.lock();
    SetEvent(state.dialogRelease);
}

void __cdecl FakeK_QueueResults(const int32_t* results, int32_t count) {
    State& state = State::instance();
    auto lock = state.lock();
    if (!results) return;
    for (int32_t i = 0; i < count; ++i) state.queuedResults.push_back(results[i]);
}

void __cdecl FakeK_SetRemoteState(int32_t player, uint32_t value) {
    State& state = State::instance();
    auto lock = state.lock();
    if (player >= 0 && player < fakek::kBufferRecords) state.remoteStates[player] = value;
}

void __cdecl FakeK_SetRemoteOffset(int32_t player, int32_t offset, int32_t times) {
    State& state = State::instance();
    auto lock = state.lock();
    if (player >= 0 && player < fakek::kBufferRecords) state.remoteOffsets[player] = {offset, times};
}

void __cdecl FakeK_SetAnsweredPlayers(int32_t players) {
    State& state = State::instance();
    auto lock = state.lock();
    state.answeredPlayers = players;
}

void __cdecl FakeK_SetClientMode(int32_t syncMs, int32_t frameDelay, int32_t dataTimeoutMs) {
    State& state = State::instance();
    auto lock = state.lock();
    fakek::enterClientMode(syncMs, frameDelay, dataTimeoutMs);
}

int32_t __cdecl FakeK_WindowsOpen(void) { return fakek::clientWindowsOpen(); }

int32_t __cdecl FakeK_JoinRelay(const char* channel, int32_t playerIndex, int32_t playerCount) {
    State& state = State::instance();
    auto lock = state.lock();
    return state.joinRelay(channel, playerIndex, playerCount) ? 1 : 0;
}

}  // extern "C"
