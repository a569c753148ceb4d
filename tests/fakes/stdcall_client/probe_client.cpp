// A 32-bit netplay client library that checks the calling convention on both sides: the plug-in's
// calls into it and its calls to the plug-in's handlers. It follows what a real client does:
// - every entry point and every handler is __stdcall: the called function removes its arguments;
// - kailleraSetInfos hands over the handlers; the record stays valid until the server dialog ends;
// - kailleraSelectServerDialog blocks the calling (worker) thread until the dialog is closed; the
//   plug-in may end that thread while it waits, so the wait holds no lock;
// - chat, dropped-player and extra notices may come on any thread; a game starts on a thread of
//   the library's own, and its handler returns only when the game is over;
// - kailleraModifyPlayValues gets the local 8-byte record at the start of a four-record buffer and
//   writes one record per player (here one: the local record stays where it is), returning 8.
// Each entry point is exported under one or more spellings (CMakeLists.txt), and the log records
// which spelling the plug-in took.
#include "probe_client_control.h"

#include "checked_call.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

namespace {

using Handler = const void*;
struct ClientInfo {
    char* clientName;
    char* gameNames;
    Handler onGameStart, onChatLine, onPlayerDropped, onExtraNotice;
};

struct Probe {
    std::mutex mutex;
    std::string log, breaches;
    ClientInfo handlers{};
    int32_t exchanges = 0, gamesStarted = 0, gamesEnded = 0;
    HANDLE dialogClose = CreateEventA(nullptr, TRUE, FALSE, nullptr);
};
// Never freed: the plug-in's threads may still be inside the library when the process ends.
Probe& probe = *new Probe;

void Note(std::string& text, const std::string& line) {
    std::lock_guard lock(probe.mutex);
    text += line;
    text += '\n';
}

// Where the plug-in called from: its own code, on a stack at least 4-byte aligned.
void CheckCaller(const char* entry, void* returnAddress, void* frame) {
    HMODULE caller = nullptr;
    char path[MAX_PATH] = "";
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       static_cast<const char*>(returnAddress), &caller);
    if (caller) GetModuleFileNameA(caller, path, sizeof path);
    const char* name = std::strrchr(path, '\\');
    if (!name || lstrcmpiA(name + 1, "Tavik_DI.dll") != 0)
        Note(probe.breaches, std::string(entry) + " called from outside the plug-in: " + path);
    if (reinterpret_cast<uintptr_t>(frame) & 3) Note(probe.breaches, std::string(entry) + " called on a misaligned stack");
}

// Calls one of the plug-in's handlers as the library does, on a stack only 4-byte aligned.
uint32_t CallHandler(const char* name, Handler handler, std::initializer_list<uint32_t> arguments) {
    if (!handler) {
        Note(probe.breaches, std::string(name) + ": no handler was given");
        return 0;
    }
    const CallContract contract = CheckedCall(handler, CallingConvention::Stdcall, arguments, 4);
    if (!contract.breaches.empty()) Note(probe.breaches, std::string(name) + ": " + contract.breaches);
    return contract.result;
}

char gameName[] = "Probe game";
char nick[] = "probe";
char chat[] = "hello from a 32-bit client";

DWORD WINAPI RunGame(void*) {
    {
        std::lock_guard lock(probe.mutex);
        ++probe.gamesStarted;
    }
    const uint32_t result = CallHandler("onGameStart", probe.handlers.onGameStart, {Word(gameName), 0, 1});
    if (result != 0) Note(probe.breaches, "onGameStart returned " + std::to_string(result));
    std::lock_guard lock(probe.mutex);
    ++probe.gamesEnded;
    return 0;
}

// The bodies behind every spelling.
int GetVersion(char* version) {
    if (version) std::strcpy(version, "0.9 probe");
    return 0;
}
int SetInfos(ClientInfo* info) {
    if (!info) {
        Note(probe.breaches, "kailleraSetInfos without a record");
        return 0;
    }
    std::lock_guard lock(probe.mutex);
    probe.handlers = *info;
    return 0;
}
int SelectServerDialog(HWND parent) {
    if (parent) Note(probe.breaches, "kailleraSelectServerDialog given a value other than 0");
    CallHandler("onChatLine", probe.handlers.onChatLine, {Word(nick), Word(chat)});
    CallHandler("onPlayerDropped", probe.handlers.onPlayerDropped, {Word(nick), 2});
    CallHandler("onExtraNotice", probe.handlers.onExtraNotice, {7});
    if (HANDLE game = CreateThread(nullptr, 0, RunGame, nullptr, 0, nullptr)) CloseHandle(game);
    WaitForSingleObject(probe.dialogClose, INFINITE);
    return 0;
}
int ModifyPlayValues(void* values, int size) {
    if (!values || size != 8) {
        Note(probe.breaches, "kailleraModifyPlayValues given size " + std::to_string(size));
        return -1;
    }
    std::lock_guard lock(probe.mutex);
    ++probe.exchanges;
    return 8;
}
int NoWork() { return 0; }
int ChatSend(char*) { return 0; }

}  // namespace

// One function per spelling and entry point, each logging its spelling before the shared body.
#define PROBE_ENTRY(spelling, entry, body, parameters, arguments)                                   \
    extern "C" int WINAPI spelling##_##entry parameters {                                          \
        CheckCaller(#entry, __builtin_return_address(0), __builtin_frame_address(0));              \
        Note(probe.log, #spelling " " #entry);                                                      \
        return body arguments;                                                                      \
    }
#define PROBE_SPELLINGS(entry, body, parameters, arguments)  \
    PROBE_ENTRY(msvc, entry, body, parameters, arguments)    \
    PROBE_ENTRY(mingw, entry, body, parameters, arguments)   \
    PROBE_ENTRY(plain, entry, body, parameters, arguments)

PROBE_SPELLINGS(kailleraGetVersion, GetVersion, (char* version), (version))
PROBE_SPELLINGS(kailleraInit, NoWork, (), ())
PROBE_SPELLINGS(kailleraShutdown, NoWork, (), ())
PROBE_SPELLINGS(kailleraSetInfos, SetInfos, (ClientInfo * info), (info))
PROBE_SPELLINGS(kailleraSelectServerDialog, SelectServerDialog, (HWND parent), (parent))
PROBE_SPELLINGS(kailleraModifyPlayValues, ModifyPlayValues, (void* values, int size), (values, size))
PROBE_SPELLINGS(kailleraChatSend, ChatSend, (char* text), (text))
PROBE_SPELLINGS(kailleraEndGame, NoWork, (), ())

extern "C" {

void __cdecl ProbeK_Reset(void) {
    std::lock_guard lock(probe.mutex);
    probe.log.clear();
    probe.breaches.clear();
    probe.handlers = {};
    probe.exchanges = probe.gamesStarted = probe.gamesEnded = 0;
    ResetEvent(probe.dialogClose);
}

int32_t __cdecl ProbeK_Text(int32_t which, char* buffer, int32_t size) {
    std::lock_guard lock(probe.mutex);
    const std::string& text = which == ProbeKLog ? probe.log : probe.breaches;
    if (buffer && size > 0) {
        std::snprintf(buffer, static_cast<size_t>(size), "%s", text.c_str());
    }
    return static_cast<int32_t>(text.size());
}

int32_t __cdecl ProbeK_Counter(int32_t which) {
    std::lock_guard lock(probe.mutex);
    switch (which) {
        case ProbeKExchanges: return probe.exchanges;
        case ProbeKGamesStarted: return probe.gamesStarted;
        case ProbeKGamesEnded: return probe.gamesEnded;
        default: return -1;
    }
}

void __cdecl ProbeK_CloseDialog(void) { SetEvent(probe.dialogClose); }

}  // extern "C"
