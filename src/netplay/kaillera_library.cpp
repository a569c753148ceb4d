#include "netplay/kaillera_library.h"

#include "framework/slim_lock.h"
#include "framework/unique_handle.h"
#include "netplay/kaillera_export_names.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <mutex>

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
    UniqueModule module;
    std::atomic<bool> loaded{false};
    std::atomic<FARPROC> entries[KailleraEntryCount] = {};
    SlimLock lifeLock;  // StartKailleraLibrary and ShutDownKailleraLibrary
    bool started = false;
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
    library.module.Reset(LoadLibraryA(path));
    if (!library.module) return false;
    for (int entry = 0; entry < KailleraEntryCount; ++entry) {
        library.entries[entry] = Resolve(library.module.Get(), static_cast<KailleraEntry>(entry));
        // An incomplete library stays loaded but unused, until shut-down.
        if (!library.entries[entry]) return false;
    }
    library.loaded = true;
    return true;
}

bool UnloadKailleraLibrary() {
    library.loaded = false;
    for (std::atomic<FARPROC>& entry : library.entries) entry = nullptr;
    library.module.Reset();
    return true;
}

bool KailleraLibraryLoaded() { return library.loaded; }

bool StartKailleraLibrary(const char* path) {
    std::lock_guard<SlimLock> lock(library.lifeLock);
    // Once per start: a path changed in the configuration dialog takes effect at the next one.
    if (!library.started) {
        library.started = true;
        if (LoadKailleraLibrary(path)) CallKailleraInit();
    }
    return library.loaded;
}

void ShutDownKailleraLibrary() {
    std::lock_guard<SlimLock> lock(library.lifeLock);
    if (!library.started) return;
    library.started = false;
    CallKailleraShutdown();
    UnloadKailleraLibrary();
}

void PinKailleraLibrary() {
    HMODULE pinned = nullptr;
    if (library.module)
        GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCSTR>(library.module.Get()), &pinned);
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
