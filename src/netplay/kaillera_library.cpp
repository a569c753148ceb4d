#include "netplay/kaillera_library.h"

#include "framework/slim_lock.h"
#include "netplay/kaillera_export_names.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>

namespace {

using GetVersionFn = int(WINAPI*)(char*);
using NoArgumentFn = int(WINAPI*)();
using SetInfosFn = int(WINAPI*)(KailleraClientInfo*);
using SelectServerDialogFn = int(WINAPI*)(HWND);
using ModifyPlayValuesFn = int(WINAPI*)(void*, int);
using ChatSendFn = int(WINAPI*)(char*);

// The entry points are read by the netplay and log-window threads while the host's thread may
// bind or release the library, hence atomics.
struct KailleraLibrary {
    // Not an owning handle: when the host unloads the plug-in without CloseDLL the library stays
    // loaded, since freeing it from our DllMain would run its detach inside ours.
    HMODULE module = nullptr;
    std::atomic<bool> loaded{false};
    std::atomic<FARPROC> entries[KailleraEntryCount] = {};
    // Guards what follows: who holds the library, and from where it was bound.
    SlimLock lifeLock;
    bool heldForNetplay = false;
    int windows = 0;
    int passing = 0;
    bool initialised = false;
    char path[kKailleraPathSize] = {};
};

KailleraLibrary library;

// Room for the version text: real ones are a few characters, but the library writes without
// knowing the size of our buffer.
constexpr size_t kVersionRoom = 64 * 1024;

constexpr bool kThirtyTwoBit = sizeof(void*) == 4;

FARPROC Resolve(HMODULE module, KailleraEntry entry) {
    for (const std::string& name : KailleraExportNames(entry, kThirtyTwoBit)) {
        if (name.empty()) break;
        if (FARPROC address = GetProcAddress(module, name.c_str())) return address;
    }
    return nullptr;
}

// The entry point, or null unless the binding is complete.
template <typename Function>
Function Entry(KailleraEntry entry) {
    if (!library.loaded) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(library.entries[entry].load()));
}

}  // namespace

bool LoadKailleraLibrary(const char* path) {
    UnloadKailleraLibrary();
    library.module = LoadLibraryA(path);
    if (!library.module) return false;
    for (int entry = 0; entry < KailleraEntryCount; ++entry) {
        library.entries[entry] = Resolve(library.module, static_cast<KailleraEntry>(entry));
        // An incomplete library stays loaded but unused, until shut-down.
        if (!library.entries[entry]) return false;
    }
    library.loaded = true;
    return true;
}

bool UnloadKailleraLibrary() {
    library.loaded = false;
    for (std::atomic<FARPROC>& entry : library.entries) entry = nullptr;
    if (library.module) FreeLibrary(library.module);
    library.module = nullptr;
    return true;
}

bool KailleraLibraryLoaded() { return library.loaded; }

namespace {
// The caller holds lifeLock.
int Holders() { return (library.heldForNetplay ? 1 : 0) + library.windows + library.passing; }

void ShutDownAndRelease() {
    if (library.initialised) CallKailleraShutdown();
    library.initialised = false;
    UnloadKailleraLibrary();
}

void BindFrom(const char* path) {
    ShutDownAndRelease();
    strncpy(library.path, path, sizeof library.path - 1);
    library.path[sizeof library.path - 1] = '\0';
    if (!LoadKailleraLibrary(library.path)) return;
    CallKailleraInit();
    library.initialised = true;
}
}  // namespace

bool HoldKailleraLibrary(KailleraNeed need, const char* path) {
    std::lock_guard<SlimLock> lock(library.lifeLock);
    const bool firstHold = Holders() == 0;
    switch (need) {
        case KailleraNeed::Netplay: library.heldForNetplay = true; break;
        case KailleraNeed::ServerWindow: ++library.windows; break;
        case KailleraNeed::Passing: ++library.passing; break;
    }
    // A library bound from another path is left alone while anyone else still uses it.
    const bool pathChanged = path && strncmp(path, library.path, sizeof library.path) != 0;
    if (path && library.windows == 0 && (firstHold || !library.loaded || (pathChanged && Holders() == 1)))
        BindFrom(path);
    if (need == KailleraNeed::ServerWindow && library.module) {
        // Its window's threads run its code for as long as the window lives, whatever unloads the
        // library later.
        HMODULE pinned = nullptr;
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(library.module), &pinned);
    }
    return library.loaded;
}

void ReleaseKailleraLibrary(KailleraNeed need) {
    std::lock_guard<SlimLock> lock(library.lifeLock);
    switch (need) {
        case KailleraNeed::Netplay: library.heldForNetplay = false; break;
        case KailleraNeed::ServerWindow: library.windows -= library.windows > 0; break;
        case KailleraNeed::Passing: library.passing -= library.passing > 0; break;
    }
    if (Holders() == 0) ShutDownAndRelease();
}

int32_t GetKailleraVersionText(char (&buffer)[kKailleraVersionSize]) {
    auto getVersion = Entry<GetVersionFn>(KailleraGetVersion);
    if (!getVersion) {
        static_assert(sizeof "No Kaillera Dll" == kKailleraVersionSize);
        std::memcpy(buffer, "No Kaillera Dll", kKailleraVersionSize);
        return 0;
    }
    // The library writes a text of a length it alone knows: give it far more room than any real
    // version needs, off the stack, then keep what fits the caller's buffer.
    std::unique_ptr<char[]> generous(new (std::nothrow) char[kVersionRoom]());
    if (!generous) return 0;  // the caller's "No version !" stays
    std::memcpy(generous.get(), buffer, kKailleraVersionSize);
    const int32_t result = getVersion(generous.get());
    const size_t length = strnlen(generous.get(), kKailleraVersionSize - 1);
    std::memcpy(buffer, generous.get(), length);
    buffer[length] = '\0';
    return result;
}

int32_t CallKailleraInit() {
    auto call = Entry<NoArgumentFn>(KailleraInit);
    return call ? call() : 0;
}

int32_t CallKailleraShutdown() {
    auto call = Entry<NoArgumentFn>(KailleraShutdown);
    return call ? call() : 0;
}

int32_t CallKailleraSetInfos(KailleraClientInfo* info) {
    auto call = Entry<SetInfosFn>(KailleraSetInfos);
    return call ? call(info) : 0;
}

int32_t CallKailleraSelectServerDialog(HWND parent) {
    auto call = Entry<SelectServerDialogFn>(KailleraSelectServerDialog);
    return call ? call(parent) : 0;
}

int32_t CallKailleraModifyPlayValues(void* values, int32_t size) {
    auto call = Entry<ModifyPlayValuesFn>(KailleraModifyPlayValues);
    return call ? call(values, size) : 0;
}

int32_t CallKailleraChatSend(char* text) {
    auto call = Entry<ChatSendFn>(KailleraChatSend);
    return call ? call(text) : 0;
}

int32_t CallKailleraEndGame() {
    auto call = Entry<NoArgumentFn>(KailleraEndGame);
    return call ? call() : 0;
}
