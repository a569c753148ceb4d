#include "fake_client.h"

#include "fake_kaillera_state.h"

#include <cstdio>
#include <deque>
#include <string>

namespace fakek {

namespace {

constexpr int kRing = 64;
constexpr int32_t kNotReady = INT32_MIN;

// One process's frames in a two-process game, in memory shared by name.
struct LockstepPlayer {
    uint32_t submitted;  // frames written so far
    uint32_t ended;      // the player ended the game
    FakeKRecord frames[kRing];
};

struct Command {
    bool close = false;
    std::string name;
    bool hasName = false;
    int32_t playerIndex = 0;
    int32_t playerCount = 0;
};

// A server window: its dialog loop runs on the thread that opened it.
struct Window {
    HANDLE wake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    std::deque<Command> commands;
};

struct Frame {
    int32_t result = 0;
    FakeKRecord records[kBufferRecords] = {};
};

// The game running now, its exchange calls and how it ends.
struct ClientGame {
    GameRun* run = nullptr;
    uint32_t calls = 0;
    bool ended = false;
    bool windowClosed = false;
    std::deque<Frame> delayed;
    int pendingDrops = 0;
    std::string dropNick;
    int32_t dropNumber = 0;
};

// All below is guarded by the state's lock.
struct Client {
    bool on = false;
    int32_t syncMs = 2000;
    int32_t frameDelay = 1;
    int32_t dataTimeoutMs = 8000;
    std::vector<Window*> windows;  // open ones; never freed, a dialog loop may still hold one
    bool shutDownUnderWindow = false;  // fact 7, until the windows open then have closed
    ClientGame game;
    HANDLE windowThread = nullptr;
    HANDLE lockstepMapping = nullptr;
    HANDLE lockstepMutex = nullptr;
    LockstepPlayer* lockstep = nullptr;
};

Client& client() {
    static auto* instance = new Client;
    return *instance;
}

[[noreturn]] void reportAndEnd(const char* what) {
    std::fprintf(stderr, "fake kaillera (client mode): %s\n", what);
    std::fflush(stderr);
    TerminateProcess(GetCurrentProcess(), kUnloadedExitCode);
    ExitThread(kUnloadedExitCode);
}

bool mapped(const void* address) {
    HMODULE module = nullptr;
    return GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              static_cast<LPCSTR>(address), &module) != 0;
}

// The client's own window thread: a timer that ticks for as long as the process lives. No
// reference on the library, as the real one's.
DWORD WINAPI windowThreadMain(void*) {
    for (;;) Sleep(1000);
}

std::string nickOf(int32_t playerNumber) { return "player" + std::to_string(playerNumber); }

bool relayed(State& state) { return !state.relayChannel.empty(); }

void closeLockstep();

bool openLockstep(State& state) {
    Client& c = client();
    if (c.lockstep) return true;
    const std::string base = "Local\\TavikFakeKailleraLockstep_" + state.relayChannel;
    c.lockstepMutex = CreateMutexA(nullptr, FALSE, (base + "_lock").c_str());
    c.lockstepMapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                           sizeof(LockstepPlayer) * kRelaySlots, base.c_str());
    if (c.lockstepMutex && c.lockstepMapping)
        c.lockstep = static_cast<LockstepPlayer*>(
            MapViewOfFile(c.lockstepMapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(LockstepPlayer) * kRelaySlots));
    return c.lockstep != nullptr;
}

}  // namespace

namespace {

void closeLockstep() {
    Client& c = client();
    if (c.lockstep) UnmapViewOfFile(c.lockstep);
    if (c.lockstepMapping) CloseHandle(c.lockstepMapping);
    if (c.lockstepMutex) CloseHandle(c.lockstepMutex);
    c.lockstep = nullptr;
    c.lockstepMapping = nullptr;
    c.lockstepMutex = nullptr;
}

// Runs `step` on the shared frames under their mutex.
template <typename Step>
auto withLockstep(Step step) {
    Client& c = client();
    WaitForSingleObject(c.lockstepMutex, INFINITE);  // abandoned: the other process died; go on
    auto result = step(c.lockstep);
    ReleaseMutex(c.lockstepMutex);
    return result;
}

void runGame(State& state, const Command& command) {
    GameRun* run = nullptr;
    {
        auto lock = state.lock();
        if (!state.callbacks.gameCallback) return;
        run = state.startGame(command.hasName ? command.name.c_str() : nullptr, command.playerIndex,
                              command.playerCount);
        run->done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        client().game = ClientGame{};
        client().game.run = run;
        // Each game of two processes has a channel of its own.
        closeLockstep();
        if (relayed(state)) openLockstep(state);
    }
    if (!mapped(reinterpret_cast<const void*>(run->callback))) reportAndEnd("game start into an unloaded plug-in");
    run->result = run->callback(run->hasName ? run->name.data() : nullptr, run->playerIndex, run->playerCount);
    auto lock = state.lock();
    client().game.ended = true;
    SetEvent(run->done);
}

}  // namespace

void enterClientMode(int32_t syncMs, int32_t frameDelay, int32_t dataTimeoutMs) {
    Client& c = client();
    c.on = true;
    c.syncMs = syncMs;
    c.frameDelay = frameDelay < 1 ? 1 : frameDelay;
    c.dataTimeoutMs = dataTimeoutMs;
}

bool clientMode() { return client().on; }

int clientSelectServerDialog() {
    State& state = State::instance();
    const void* caller = __builtin_return_address(0);
    auto* window = new Window;
    uint64_t call = 0;
    {
        auto lock = state.lock();
        Client& c = client();
        if (!c.windowThread) c.windowThread = CreateThread(nullptr, 0, windowThreadMain, nullptr, 0, nullptr);
        c.windows.push_back(window);
        call = state.enterDialog();
    }
    // The window's loop: games run here, on the caller's thread, until the user closes it.
    for (;;) {
        WaitForSingleObject(window->wake, 100);
        Command command;
        {
            auto lock = state.lock();
            if (window->commands.empty()) continue;
            command = window->commands.front();
            window->commands.pop_front();
        }
        if (command.close) break;
        {
            auto lock = state.lock();
            if (client().shutDownUnderWindow) reportAndEnd("game started in a window after kailleraShutdown");
        }
        runGame(state, command);
    }
    {
        auto lock = state.lock();
        auto& windows = client().windows;
        std::erase(windows, window);
        if (windows.empty()) client().shutDownUnderWindow = false;
        if (state.dialogCall == call) {
            if (state.dialogThread) CloseHandle(state.dialogThread);
            state.dialogThread = nullptr;
            ResetEvent(state.dialogEntered);
        }
    }
    if (!mapped(caller)) reportAndEnd("server dialog returned into an unloaded plug-in");
    return 0;
}

void clientStartGame(const char* name, int32_t playerIndex, int32_t playerCount) {
    State& state = State::instance();
    auto lock = state.lock();
    auto& windows = client().windows;
    if (windows.empty()) return;
    Command command;
    command.hasName = name != nullptr;
    if (name) command.name = name;
    command.playerIndex = playerIndex;
    command.playerCount = playerCount;
    windows.back()->commands.push_back(command);
    SetEvent(windows.back()->wake);
}

void clientCloseWindow() {
    State& state = State::instance();
    auto lock = state.lock();
    auto& windows = client().windows;
    if (windows.empty()) return;
    // Closing the window ends the game played in it.
    if (client().game.run && !client().game.ended) client().game.windowClosed = true;
    Command command;
    command.close = true;
    windows.back()->commands.push_back(command);
    SetEvent(windows.back()->wake);
}

void clientOtherPlayerLeaves(const char* nick, int32_t playerNumber) {
    State& state = State::instance();
    auto lock = state.lock();
    ClientGame& game = client().game;
    if (!game.run || game.ended) return;
    game.pendingDrops = 2;
    game.dropNick = nick ? nick : "";
    game.dropNumber = playerNumber;
}

int32_t clientWindowsOpen() {
    State& state = State::instance();
    auto lock = state.lock();
    return static_cast<int32_t>(client().windows.size());
}

void clientEndGame() {
    State& state = State::instance();
    DroppedCallback dropped = nullptr;
    int32_t number = 0;
    {
        auto lock = state.lock();
        ClientGame& game = client().game;
        if (!game.run || game.ended) return;
        game.ended = true;
        number = game.run->playerIndex;
        dropped = state.callbacks.clientDroppedCallback;
        if (client().lockstep) withLockstep([&](LockstepPlayer* players) { return players[state.relayIndex()].ended = 1; });
    }
    std::string nick = nickOf(number);
    if (dropped) dropped(nick.data(), number);
}

int clientModifyPlayValues(void* values, int size) {
    State& state = State::instance();
    auto* buffer = static_cast<FakeKRecord*>(values);
    const ULONGLONG start = GetTickCount64();
    uint32_t call = 0;
    int32_t frameDelay = 1, syncMs = 0, dataTimeoutMs = 0;
    Frame answer;
    bool scripted = false;
    {
        auto lock = state.lock();
        ClientGame& game = client().game;
        if (!values || size < static_cast<int>(sizeof(FakeKRecord)) || !game.run || game.ended) return -1;
        const FakeKRecord sent = buffer[0];
        state.recordsSent.push_back(sent);
        call = game.calls++;
        frameDelay = client().frameDelay;
        syncMs = client().syncMs;
        dataTimeoutMs = client().dataTimeoutMs;
        if (client().lockstep) {
            withLockstep([&](LockstepPlayer* players) {
                LockstepPlayer& me = players[state.relayIndex()];
                me.frames[call % kRing] = sent;
                return me.submitted = call + 1;
            });
        } else {
            scripted = true;
            Frame frame;
            frame.result = state.answer(sent, frame.records).result;
            game.delayed.push_back(frame);
        }
    }

    // Waits until `ready` holds, the game ends, or the data time-out passes (-1 for both).
    auto waitFor = [&](auto ready, DWORD timeoutMs) -> int32_t {
        for (;;) {
            DroppedCallback dropped = nullptr;
            std::string nick;
            int32_t number = 0;
            {
                auto lock = state.lock();
                ClientGame& game = client().game;
                if (game.ended || game.windowClosed) return -1;
                if (game.pendingDrops > 0) {
                    dropped = state.callbacks.clientDroppedCallback;
                    nick = game.dropNick;
                    number = game.dropNumber;
                    if (--game.pendingDrops == 0) game.ended = true;
                } else if (int32_t result = ready(); result != kNotReady) {
                    return result;
                }
            }
            if (dropped) {
                dropped(nick.data(), number);
                continue;
            }
            if (GetTickCount64() - start >= timeoutMs) return -1;
            Sleep(1);
        }
    };

    if (call == 0) {
        // Synchronisation: blocks, then nothing yet.
        waitFor([] { return kNotReady; }, static_cast<DWORD>(syncMs));
        auto lock = state.lock();
        return client().game.ended || client().game.windowClosed ? -1 : 0;
    }
    const uint32_t wanted = call - static_cast<uint32_t>(frameDelay);
    if (scripted) {
        return waitFor(
            [&]() -> int32_t {
                ClientGame& game = client().game;
                if (game.delayed.size() <= static_cast<size_t>(frameDelay)) return kNotReady;
                answer = game.delayed.front();
                game.delayed.pop_front();
                if (answer.result > 0)
                    for (int i = 0; i < kBufferRecords; ++i) buffer[i] = answer.records[i];
                return answer.result;
            },
            static_cast<DWORD>(dataTimeoutMs));
    }
    return waitFor(
        [&]() -> int32_t {
            const int players = state.relayCount();
            return withLockstep([&](LockstepPlayer* shared) -> int32_t {
                for (int i = 0; i < players; ++i) {
                    if (i == state.relayIndex()) continue;
                    if (shared[i].ended) {
                        ClientGame& game = client().game;
                        game.pendingDrops = 2;
                        game.dropNick = nickOf(i + 1);
                        game.dropNumber = i + 1;
                        return kNotReady;
                    }
                    if (shared[i].submitted <= wanted) return kNotReady;
                }
                const int written = players < kBufferRecords ? players : kBufferRecords;
                for (int i = 0; i < written; ++i) buffer[i] = shared[i].frames[wanted % kRing];
                return 8 * written;
            });
        },
        static_cast<DWORD>(dataTimeoutMs));
}

void clientLibraryUnloading() {
    if (client().windowThread && WaitForSingleObject(client().windowThread, 0) == WAIT_TIMEOUT)
        reportAndEnd("unloaded while its window thread runs");
}

void clientShutdown() {
    State& state = State::instance();
    auto lock = state.lock();
    if (!client().windows.empty()) client().shutDownUnderWindow = true;
}

void checkCallAllowed(const char* entryPoint) {
    using ShutdownInProgress = BOOLEAN(WINAPI*)();
    static const auto shutdownInProgress = reinterpret_cast<ShutdownInProgress>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlDllShutdownInProgress")));
    // No lock here: at process exit another thread may have died holding it.
    if (shutdownInProgress && shutdownInProgress())
        reportAndEnd((std::string(entryPoint) + " called at process exit, after the client's detach").c_str());
    if (!clientMode()) return;
    State& state = State::instance();
    auto lock = state.lock();
    if (client().shutDownUnderWindow)
        reportAndEnd((std::string(entryPoint) + " called after kailleraShutdown while its window is open").c_str());
}

void leaveClientMode() {
    Client& c = client();
    for (Window* window : c.windows) {
        Command command;
        command.close = true;
        window->commands.push_back(command);
        SetEvent(window->wake);
    }
    if (c.game.run && !c.game.ended) c.game.windowClosed = true;
    closeLockstep();
    c.on = false;
    c.shutDownUnderWindow = false;
}

}  // namespace fakek
