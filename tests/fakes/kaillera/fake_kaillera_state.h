// Everything the fake library's entry points and its control exports share. One mutex guards it,
// because the plug-in calls the library from its worker, game and log-window threads while a test
// thread scripts answers and reads back what was sent.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "fake_kaillera_control.h"

namespace fakek {

// The plug-in's exchange buffer holds four records; nothing is ever written past them.
constexpr int kBufferRecords = 4;
constexpr int kRelaySlots = 8;
constexpr const char* kDefaultVersion = "0.9-fake";

using GameCallback = int(WINAPI*)(char* game, int player, int players);
using ChatCallback = void(WINAPI*)(char* nick, char* text);
using DroppedCallback = void(WINAPI*)(char* nick, int playerNumber);
using MoreInfosCallback = void(WINAPI*)(char* gameName);

// The record kailleraSetInfos receives.
struct ClientInfos {
    char* appName;
    char* gameList;
    GameCallback gameCallback;
    ChatCallback chatReceivedCallback;
    DroppedCallback clientDroppedCallback;
    MoreInfosCallback moreInfosCallback;
};

// One started game. Owned by the state, but kept alive (never freed) while its thread may still
// run, because the handler holds on to `name` for the whole game.
struct GameRun {
    std::string name;
    bool hasName = false;
    int playerIndex = -1;
    int playerCount = 0;
    GameCallback callback = nullptr;
    HANDLE thread = nullptr;  // its exit code is the handler's result
    // In client mode the game runs on the server dialog's caller instead: set when it has ended.
    HANDLE done = nullptr;
    int result = 0;
};

struct RemoteOffset {
    int32_t offset = 0;
    int32_t times = 0;  // negative: always
};

// Shared between processes in relay mode; the named mutex beside it guards every access.
struct RelaySlot {
    uint32_t pollCount;
    uint32_t state;
    uint32_t valid;
};

// What kailleraModifyPlayValues returns, and whether a record it wrote lags behind the sent one
// (the caller then retries, so the fake yields the processor).
struct Answer {
    int32_t result;
    int records;
    bool lagging;
};

class State {
public:
    static State& instance();

    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

    // All members below expect the caller to hold lock().

    void reset();
    void logCall(const char* entryPoint) { callLog_.emplace_back(entryPoint); }
    std::string callLogText() const;
    int callCount(const char* entryPoint) const;

    std::string version = kDefaultVersion;
    std::string clientName;
    std::string gameList;  // each name followed by '|'
    ClientInfos callbacks{};
    std::vector<std::string> chatsSent;
    std::vector<FakeKRecord> recordsSent;

    // Server dialog. `dialogThread` identifies the caller, so that a worker the plug-in terminated
    // inside the dialog no longer counts as an open dialog.
    HANDLE dialogRelease = nullptr;  // manual reset: set while no dialog may stay open
    HANDLE dialogEntered = nullptr;  // manual reset: set while a dialog is open
    HANDLE dialogThread = nullptr;
    uint64_t dialogCall = 0;
    intptr_t dialogParent = -1;
    bool dialogOpen();
    // Under the lock: the calling thread is now the one in the dialog. Returns this entry's number.
    uint64_t enterDialog();

    GameRun* startGame(const char* name, int playerIndex, int playerCount);
    GameRun* latestGame() { return games_.empty() ? nullptr : games_.back().get(); }

    std::deque<int32_t> queuedResults;
    std::array<uint32_t, kBufferRecords> remoteStates{};
    std::array<RemoteOffset, kBufferRecords> remoteOffsets{};
    int answeredPlayers = -1;  // negative: the current game's player count

    // The answer of kailleraModifyPlayValues to `sent`; fills at most four records of `buffer`.
    Answer answer(const FakeKRecord& sent, FakeKRecord* buffer);

    bool joinRelay(const char* channel, int playerIndex, int playerCount);
    void leaveRelay();
    std::string relayChannel;  // empty while no relay is joined
    int relayIndex() const { return relayIndex_; }
    int relayCount() const { return relayCount_; }

private:
    int32_t scriptedAnswer(const FakeKRecord& sent, FakeKRecord* buffer, int& written);
    int32_t relayAnswer(const FakeKRecord& sent, FakeKRecord* buffer, int& written);

    std::mutex mutex_;
    std::vector<std::string> callLog_;
    std::vector<std::unique_ptr<GameRun>> games_;

    HANDLE relayMapping_ = nullptr;
    HANDLE relayMutex_ = nullptr;
    RelaySlot* relaySlots_ = nullptr;
    int relayIndex_ = 0;
    int relayCount_ = 0;
};

// Starts a thread of the fake's own. It holds a reference on this module, so that a test that
// frees the library while the thread still runs does not pull the code from under it; the thread
// must end with endFakeThread.
HANDLE startFakeThread(LPTHREAD_START_ROUTINE routine, void* parameter);
[[noreturn]] void endFakeThread(DWORD exitCode);

// Copies `text` into `buffer` of `size` bytes, cut and always terminated when size > 0.
void copyText(const std::string& text, char* buffer, int32_t size);

}  // namespace fakek
