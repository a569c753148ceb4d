#include "fake_client.h"

#include "fake_kaillera_state.h"
#include "fake_link.h"

#include <cstdio>
#include <deque>
#include <string>

namespace fakek {

namespace {

constexpr int32_t kNotReady = INT32_MIN;

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
    int recordSize = 0;  // fixed by the first call
    bool ended = false;
    bool over = false;  // -1 was returned: every later call returns it too
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
    Link link;  // to the other processes of a relayed game
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
        client().link.close();
        if (relayed(state)) client().link.open(state.relayChannel, state.relayIndex(), state.relayCount());
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
        if (client().link.isOpen()) client().link.end();
    }
    std::string nick = nickOf(number);
    if (dropped) dropped(nick.data(), number);
}

namespace {

int32_t exchange(void* values, int size) {
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
        if (!values || size < static_cast<int>(sizeof(FakeKRecord)) || !game.run || game.ended || game.over) return -1;
        if (game.recordSize == 0) game.recordSize = size;
        if (size != game.recordSize) reportAndEnd("the record size changed within a game");
        const FakeKRecord sent = buffer[0];
        state.recordsSent.push_back(sent);
        call = game.calls++;
        frameDelay = client().frameDelay;
        syncMs = client().syncMs;
        dataTimeoutMs = client().dataTimeoutMs;
        if (client().link.isOpen()) {
            client().link.send(call, sent);
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

    if (call < static_cast<uint32_t>(frameDelay)) {
        // Nothing to answer yet; the first call also does the game's set-up, which blocks.
        if (call == 0) waitFor([] { return kNotReady; }, static_cast<DWORD>(syncMs));
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
            const int32_t result = client().link.collect(wanted, buffer);
            if (result > 0) return result;
            if (result < 0) {
                ClientGame& game = client().game;
                game.pendingDrops = 2;
                game.dropNick = nickOf(-result);
                game.dropNumber = -result;
            }
            return kNotReady;
        },
        static_cast<DWORD>(dataTimeoutMs));
}

}  // namespace

int clientModifyPlayValues(void* values, int size) {
    const int32_t result = exchange(values, size);
    if (result == -1) {
        State& state = State::instance();
        auto lock = state.lock();
        client().game.over = true;
    }
    return result;
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
    c.link.close();
    setOneWayDelayMs(0);
    c.on = false;
    c.shutDownUnderWindow = false;
}

}  // namespace fakek
