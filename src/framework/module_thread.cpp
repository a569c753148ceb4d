#include "framework/module_thread.h"

#include <new>

namespace {
struct ThreadStart {
    LPTHREAD_START_ROUTINE entry;
    void* parameter;
    HMODULE module;  // the reference this thread owns
};

DWORD WINAPI ModuleThreadMain(void* param) {
    const ThreadStart start = *static_cast<ThreadStart*>(param);
    delete static_cast<ThreadStart*>(param);
    const DWORD result = start.entry(start.parameter);
    // Returning would run this library's code after the reference is gone; this call never returns.
    FreeLibraryAndExitThread(start.module, result);
}
}  // namespace

ModuleThread StartModuleThread(LPTHREAD_START_ROUTINE entry, void* parameter) {
    ModuleThread thread;
    HMODULE module = nullptr;
    // An address inside this library names it, whatever the file is called on disk.
    if (!GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                            reinterpret_cast<LPCSTR>(&ModuleThreadMain), &module))
        return thread;
    auto* start = new (std::nothrow) ThreadStart{entry, parameter, module};
    if (start) thread.handle.Reset(CreateThread(nullptr, 0, ModuleThreadMain, start, 0, &thread.id));
    if (!thread.handle) {
        delete start;
        FreeLibrary(module);
        thread.id = 0;
    }
    return thread;
}
