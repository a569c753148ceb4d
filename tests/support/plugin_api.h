// The real plug-in DLL, loaded with LoadLibrary and driven only through its exports.
#pragma once

#include "input/button_state.h"
#include "plugin/host_records.h"

#include <windows.h>

#include <cstdint>

struct PluginApi {
    using GetDllInfo_t = void(__cdecl*)(PluginInfo*);
    using InitiateControllers_t = void(__cdecl*)(HWND, ControlSlot*);
    using GetKeys_t = void(__cdecl*)(int32_t, ButtonState*);
    using NoArgs_t = void(__cdecl*)();
    using WithWindow_t = void(__cdecl*)(HWND);
    using Command_t = void(__cdecl*)(int32_t, uint8_t*);
    using KeyMessage_t = void(__cdecl*)(WPARAM, LPARAM);

    HMODULE module = nullptr;
    GetDllInfo_t GetDllInfo = nullptr;
    InitiateControllers_t InitiateControllers = nullptr;
    GetKeys_t GetKeys = nullptr;
    NoArgs_t RomOpen = nullptr, RomClosed = nullptr, CloseDLL = nullptr;
    WithWindow_t DllConfig = nullptr, DllTest = nullptr, DllAbout = nullptr;
    Command_t ControllerCommand = nullptr, ReadController = nullptr;
    KeyMessage_t WM_KeyDown = nullptr, WM_KeyUp = nullptr;

    // Loads Tavik_DI.dll from the test program's folder; false (with a gtest failure) if any
    // export is missing.
    bool Load();
    // FreeLibrary: runs the plug-in's shut-down.
    void Unload();
    bool Loaded() const { return module != nullptr; }

    ButtonState Poll(int32_t controller) const;
};

// The folder of the running test program, with a trailing backslash.
const char* ProgramFolder();
