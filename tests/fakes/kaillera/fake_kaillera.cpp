// The eight entry points of the netplay client library, as the plug-in calls them. They record
// what they were given and answer as the test scripted through the FakeK_* exports.
#include <cstring>

#include "fake_client.h"
#include "fake_kaillera_state.h"

using fakek::State;

namespace {

void logCall(const char* entryPoint) {
    State& state = State::instance();
    auto lock = state.lock();
    state.logCall(entryPoint);
}

// "name1|name2|" from NUL-terminated names ended by an empty one.
std::string readGameList(const char* list) {
    std::string joined;
    if (!list) return joined;
    while (*list) {
        joined += list;
        joined += '|';
        list += std::strlen(list) + 1;
    }
    return joined;
}

// The real library starts and cleans up the Windows sockets in kailleraInit and kailleraShutdown,
// which must not run under the loader lock (from a DllMain). The lock is the process's loader
// critical section, which the process environment block points to.
bool loaderLockHeld() {
#ifdef _WIN64
    constexpr size_t kLoaderLockOffset = 0x110;
#else
    constexpr size_t kLoaderLockOffset = 0xA0;
#endif
    using GetPeb = const char*(WINAPI*)();
    static const auto getPeb = reinterpret_cast<GetPeb>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "RtlGetCurrentPeb")));
    const char* peb = getPeb ? getPeb() : nullptr;
    if (!peb) return false;
    const auto* loaderLock = *reinterpret_cast<const RTL_CRITICAL_SECTION* const*>(peb + kLoaderLockOffset);
    return loaderLock && loaderLock->OwningThread == reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(GetCurrentThreadId()));
}

// Logs `entryPoint`, followed by "under the loader lock" when it was called there.
void logSocketCall(const char* entryPoint) {
    logCall(entryPoint);
    if (loaderLockHeld()) logCall("under the loader lock");
}

}  // namespace

extern "C" {

int WINAPI kailleraGetVersion(char* version) {
    fakek::checkCallAllowed("kailleraGetVersion");
    State& state = State::instance();
    auto lock = state.lock();
    state.logCall("kailleraGetVersion");
    // Unbounded on purpose: a real library knows nothing of the caller's buffer size either.
    if (version) std::strcpy(version, state.version.c_str());
    return 0;
}

int WINAPI kailleraInit() {
    fakek::checkCallAllowed("kailleraInit");
    logSocketCall("kailleraInit");
    return 0;
}

int WINAPI kailleraShutdown() {
    fakek::checkCallAllowed("kailleraShutdown");
    logSocketCall("kailleraShutdown");
    if (fakek::clientMode()) fakek::clientShutdown();
    return 0;
}

int WINAPI kailleraSetInfos(fakek::ClientInfos* infos) {
    fakek::checkCallAllowed("kailleraSetInfos");
    State& state = State::instance();
    auto lock = state.lock();
    state.logCall("kailleraSetInfos");
    if (!infos) return 0;
    // Copied now: the plug-in only promises the texts until the server dialog returns.
    state.clientName = infos->appName ? infos->appName : "";
    state.gameList = readGameList(infos->gameList);
    state.callbacks = *infos;
    state.callbacks.appName = nullptr;
    state.callbacks.gameList = nullptr;
    return 0;
}

int WINAPI kailleraSelectServerDialog(HWND parent) {
    fakek::checkCallAllowed("kailleraSelectServerDialog");
    State& state = State::instance();
    uint64_t call = 0;
    {
        auto lock = state.lock();
        state.logCall("kailleraSelectServerDialog");
        state.dialogParent = reinterpret_cast<intptr_t>(parent);
        if (fakek::clientMode()) {
            lock.unlock();
            return fakek::clientSelectServerDialog();
        }
        // A close requested while no dialog was open does not carry over to this one.
        if (!state.dialogOpen()) ResetEvent(state.dialogRelease);
        call = state.enterDialog();
    }
    // The wait holds no lock: the plug-in may end this thread with TerminateThread.
    WaitForSingleObject(state.dialogRelease, INFINITE);
    auto lock = state.lock();
    if (state.dialogCall == call) {
        if (state.dialogThread) CloseHandle(state.dialogThread);
        state.dialogThread = nullptr;
        ResetEvent(state.dialogEntered);
    }
    return 0;
}

int WINAPI kailleraModifyPlayValues(void* values, int size) {
    fakek::checkCallAllowed("kailleraModifyPlayValues");
    State& state = State::instance();
    fakek::Answer answer{};
    {
        auto lock = state.lock();
        state.logCall("kailleraModifyPlayValues");
        if (fakek::clientMode()) {
            lock.unlock();
            return fakek::clientModifyPlayValues(values, size);
        }
        // Nothing to read a record from; a fatal answer ends the caller's retries.
        if (!values || size < static_cast<int>(sizeof(FakeKRecord))) return -1;
        auto* buffer = static_cast<FakeKRecord*>(values);
        const FakeKRecord sent = buffer[0];
        state.recordsSent.push_back(sent);
        answer = state.answer(sent, buffer);
    }
    // The caller retries at once; give the other side (another thread or host) the processor.
    if (answer.result <= 0 || answer.lagging) SwitchToThread();
    return answer.result;
}

int WINAPI kailleraChatSend(char* text) {
    fakek::checkCallAllowed("kailleraChatSend");
    State& state = State::instance();
    auto lock = state.lock();
    state.logCall("kailleraChatSend");
    state.chatsSent.emplace_back(text ? text : "");
    return 0;
}

int WINAPI kailleraEndGame() {
    fakek::checkCallAllowed("kailleraEndGame");
    logCall("kailleraEndGame");
    if (fakek::clientMode()) fakek::clientEndGame();
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // Unloaded by FreeLibrary, not by the process's end.
    if (reason == DLL_PROCESS_DETACH && !reserved) fakek::clientLibraryUnloading();
    return TRUE;
}

}  // extern "C"
