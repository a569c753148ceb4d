#include "netplay/kaillera_library.h"

#include "framework/unique_handle.h"
#include "netplay/kaillera_export_names.h"
#include "plugin/plugin_state.h"

#include <cstring>

namespace {

using GetVersionFn = int(WINAPI*)(char*);
using NoArgumentFn = int(WINAPI*)();
using SetInfosFn = int(WINAPI*)(KailleraClientInfo*);
using SelectServerDialogFn = int(WINAPI*)(HWND);
using ModifyPlayValuesFn = int(WINAPI*)(void*, int);
using ChatSendFn = int(WINAPI*)(char*);

struct KailleraLibrary {
    UniqueModule module;
    bool loaded = false;
    FARPROC entries[KailleraEntryCount] = {};
};

KailleraLibrary library;

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
    if (!library.loaded || !library.entries[entry]) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(library.entries[entry]));
}

}  // namespace

bool LoadKailleraLibrary() {
    UnloadKailleraLibrary();
    library.module.Reset(LoadLibraryA(pluginState.netplay.Dll));
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
    for (FARPROC& entry : library.entries) entry = nullptr;
    library.module.Reset();
    return true;
}

bool KailleraLibraryLoaded() { return library.loaded; }

int32_t GetKailleraVersionText(char (&buffer)[kKailleraVersionSize]) {
    auto getVersion = Entry<GetVersionFn>(KailleraGetVersion);
    if (!getVersion) {
        static_assert(sizeof "No Kaillera Dll" == kKailleraVersionSize);
        std::memcpy(buffer, "No Kaillera Dll", kKailleraVersionSize);
        return 0;
    }
    // The library writes a text of a length it alone knows: give it room to spare, then keep
    // what fits the caller's buffer.
    char generous[1024] = "No version !";
    const int32_t result = getVersion(generous);
    const size_t length = strnlen(generous, kKailleraVersionSize - 1);
    std::memcpy(buffer, generous, length);
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
