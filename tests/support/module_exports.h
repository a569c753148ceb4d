// Resolving a loaded module's exports into typed function pointers.
#pragma once

#include <windows.h>

// The export `name` of `module` as `Function`, or null.
template <typename Function>
Function ExportOf(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// For a test double whose controls must all exist: ends the program with a message otherwise,
// since every later step would crash.
[[noreturn]] void MissingControl(const char* module, const char* name);

template <typename Function>
void RequireExport(HMODULE module, const char* moduleName, const char* name, Function& target) {
    target = ExportOf<Function>(module, name);
    if (!target) MissingControl(moduleName, name);
}
