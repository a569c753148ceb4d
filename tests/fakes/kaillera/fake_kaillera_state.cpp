#include "fake_kaillera_state.h"

#include "fake_client.h"

#include <algorithm>
#include <cstring>

namespace fakek {

namespace {

// Games whose thread still ran at a reset. Their records stay allocated for good, since the
// handler may still read the game name and the thread writes its result at the end.
std::vector<std::unique_ptr<GameRun>>& orphanedGames() {
    static auto* games = new std::vector<std::unique_ptr<GameRun>>;
    return *games;
}

bool threadRunning(HANDLE thread) { return thread && WaitForSingleObject(thread, 0) == WAIT_TIMEOUT; }
bool gameRunning(const GameRun& game) { return threadRunning(game.thread) || threadRunning(game.done); }

HMODULE thisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&thisModule), &module);
    return module;
}

}  // namespace

HANDLE startFakeThread(LPTHREAD_START_ROUTINE routine, void* parameter) {
    HMODULE module = nullptr;
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(&thisModule),
                            &module))
        return nullptr;
    HANDLE thread = CreateThread(nullptr, 0, routine, parameter, 0, nullptr);
    if (!thread) FreeLibrary(module);
    return thread;
}

void endFakeThread(DWORD exitCode) { FreeLibraryAndExitThread(thisModule(), exitCode); }

void copyText(const std::string& text, char* buffer, int32_t size) {
    if (!buffer || size <= 0) return;
    const size_t length = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

State& State::instance() {
    // Never destroyed: game and dialog threads may still use it while the process exits.
    static State* state = [] {
        auto* created = new State;
        created->dialogRelease = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        created->dialogEntered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        return created;
    }();
    return *state;
}

void State::reset() {
    callLog_.clear();
    version = kDefaultVersion;
    clientName.clear();
    gameList.clear();
    callbacks = {};
    chatsSent.clear();
    recordsSent.clear();

    // An open dialog returns; its caller sees that it is no longer the current call.
    SetEvent(dialogRelease);
    ResetEvent(dialogEntered);
    if (dialogThread) CloseHandle(dialogThread);
    dialogThread = nullptr;
    ++dialogCall;
    dialogParent = -1;

    for (auto& game : games_) {
        if (gameRunning(*game)) {
            orphanedGames().push_back(std::move(game));
        } else {
            if (game->thread) CloseHandle(game->thread);
            if (game->done) CloseHandle(game->done);
        }
    }
    games_.clear();

    queuedResults.clear();
    remoteStates = {};
    remoteOffsets = {};
    answeredPlayers = -1;
    leaveClientMode();
    leaveRelay();
}

std::string State::callLogText() const {
    std::string text;
    for (const auto& name : callLog_) {
        if (!text.empty()) text += ',';
        text += name;
    }
    return text;
}

int State::callCount(const char* entryPoint) const {
    if (!entryPoint) return 0;
    return static_cast<int>(std::count(callLog_.begin(), callLog_.end(), entryPoint));
}

bool State::dialogOpen() {
    if (threadRunning(dialogThread)) return true;
    // The plug-in ends its worker with TerminateThread, which can happen inside the dialog.
    if (dialogThread) {
        CloseHandle(dialogThread);
        dialogThread = nullptr;
        ResetEvent(dialogEntered);
    }
    return false;
}

uint64_t State::enterDialog() {
    if (dialogThread) CloseHandle(dialogThread);
    dialogThread = nullptr;
    DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &dialogThread, SYNCHRONIZE, FALSE, 0);
    const uint64_t call = ++dialogCall;
    SetEvent(dialogEntered);
    return call;
}

GameRun* State::startGame(const char* name, int playerIndex, int playerCount) {
    auto game = std::make_unique<GameRun>();
    game->hasName = name != nullptr;
    if (name) game->name = name;
    game->playerIndex = playerIndex;
    game->playerCount = playerCount;
    game->callback = callbacks.gameCallback;
    games_.push_back(std::move(game));
    return games_.back().get();
}

Answer State::answer(const FakeKRecord& sent, FakeKRecord* buffer) {
    Answer answer{};
    answer.result = relaySlots_ ? relayAnswer(sent, buffer, answer.records) : scriptedAnswer(sent, buffer, answer.records);
    for (int i = 0; i < answer.records; ++i) answer.lagging = answer.lagging || buffer[i].pollCount < sent.pollCount;
    return answer;
}

int32_t State::scriptedAnswer(const FakeKRecord& sent, FakeKRecord* buffer, int& written) {
    if (!queuedResults.empty()) {
        const int32_t queued = queuedResults.front();
        queuedResults.pop_front();
        if (queued <= 0) return queued;
    }
    const GameRun* game = latestGame();
    const int localPlayer = game ? game->playerIndex - 1 : -1;  // players count from 1
    const int players = answeredPlayers >= 0 ? answeredPlayers : (game ? game->playerCount : 0);
    written = std::clamp(players, 0, kBufferRecords);
    for (int i = 0; i < written; ++i) {
        if (i == localPlayer) {
            buffer[i] = sent;
            continue;
        }
        uint32_t pollCount = sent.pollCount;
        RemoteOffset& offset = remoteOffsets[i];
        if (offset.times != 0) {
            pollCount += static_cast<uint32_t>(offset.offset);  // wraps like the plug-in's counter
            if (offset.times > 0) --offset.times;
        }
        buffer[i] = FakeKRecord{pollCount, remoteStates[i]};
    }
    // With no player to answer for, 0 would read as "not ready" and the caller would retry for ever.
    return written > 0 ? 8 * written : 8;
}

int32_t State::relayAnswer(const FakeKRecord& sent, FakeKRecord* buffer, int& written) {
    // An abandoned mutex (the other test program died) still grants ownership; going on beats
    // hanging this program too.
    WaitForSingleObject(relayMutex_, INFINITE);
    relaySlots_[relayIndex_] = RelaySlot{sent.pollCount, sent.state, 1};
    bool ready = true;
    for (int i = 0; i < relayCount_; ++i) ready = ready && relaySlots_[i].valid;
    written = ready ? std::min(relayCount_, kBufferRecords) : 0;
    for (int i = 0; i < written; ++i) buffer[i] = FakeKRecord{relaySlots_[i].pollCount, relaySlots_[i].state};
    ReleaseMutex(relayMutex_);
    return ready ? 8 * written : 0;
}

bool State::joinRelay(const char* channel, int playerIndex, int playerCount) {
    leaveRelay();
    // Kernel object names take no backslash after the namespace prefix.
    if (!channel || !*channel || std::strlen(channel) > 200 || std::strchr(channel, '\\')) return false;
    if (playerCount < 1 || playerCount > kRelaySlots || playerIndex < 0 || playerIndex >= playerCount)
        return false;
    const std::string base = std::string("Local\\TavikFakeKaillera_") + channel;
    relayMutex_ = CreateMutexA(nullptr, FALSE, (base + "_lock").c_str());
    relayMapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                       sizeof(RelaySlot) * kRelaySlots, base.c_str());
    if (relayMutex_ && relayMapping_) {
        relaySlots_ = static_cast<RelaySlot*>(
            MapViewOfFile(relayMapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(RelaySlot) * kRelaySlots));
    }
    if (!relaySlots_) {
        leaveRelay();
        return false;
    }
    relayIndex_ = playerIndex;
    relayCount_ = playerCount;
    relayChannel = channel;
    return true;
}

void State::leaveRelay() {
    if (relaySlots_) UnmapViewOfFile(relaySlots_);
    if (relayMapping_) CloseHandle(relayMapping_);
    if (relayMutex_) CloseHandle(relayMutex_);
    relaySlots_ = nullptr;
    relayMapping_ = nullptr;
    relayMutex_ = nullptr;
    relayIndex_ = 0;
    relayCount_ = 0;
    relayChannel.clear();
}

}  // namespace fakek
