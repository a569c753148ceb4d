// A thread that keeps this library loaded while it runs. It takes its own reference on the module
// before it is created and drops it as its very last step (FreeLibraryAndExitThread), so a host's
// FreeLibrary never unmaps code that a live thread still runs: the unmap waits for the thread.
#pragma once

#include "framework/unique_handle.h"

#include <windows.h>

struct ModuleThread {
    UniqueKernelHandle handle;  // empty when the thread could not be started
    DWORD id = 0;
    explicit operator bool() const { return static_cast<bool>(handle); }
};

// Starts `entry(parameter)` on a new thread that holds a reference on this library for its whole
// life. `entry` returns normally; the reference is released after it returns.
ModuleThread StartModuleThread(LPTHREAD_START_ROUTINE entry, void* parameter);
