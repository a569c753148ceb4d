// The binding to the Kaillera client library, loaded at run time from the saved path. Every call
// goes through a guarded forwarder that does nothing and returns 0 unless the binding is complete.
#pragma once

#include <windows.h>

#include <cstdint>

struct KailleraClientInfo {
    char* clientName;
    char* gameNames;  // NUL-terminated names, ended by an empty name
    int(WINAPI* onGameStart)(char* game, int player, int players);
    void(WINAPI* onChatLine)(char* nick, char* text);
    void(WINAPI* onPlayerDropped)(char* nick, int playerNumber);
    void(WINAPI* onExtraNotice)(int value);
};

inline constexpr size_t kKailleraVersionSize = 16;

// Loads the library at `path` and resolves its eight entry points.
bool LoadKailleraLibrary(const char* path);
bool UnloadKailleraLibrary();
// True once all eight entry points resolved.
bool KailleraLibraryLoaded();
// Keeps the library mapped until the process ends, whatever unloads it later: once its server
// window has been opened, threads of its own run its code for as long as that window lives.
void PinKailleraLibrary();

// The library's life in the plug-in: bound and initialised from `path` at the first call (later
// calls do nothing), shut down and released by ShutDownKailleraLibrary. kailleraInit and
// kailleraShutdown start and clean up the client's sockets, which must never happen under the
// loader lock: neither may be called from DllMain. Returns whether the binding is complete.
bool StartKailleraLibrary(const char* path);
void ShutDownKailleraLibrary();

// Writes the library's version text (at most 15 characters) into `buffer`, or "No Kaillera Dll"
// when the library is not bound.
int32_t GetKailleraVersionText(char (&buffer)[kKailleraVersionSize]);
int32_t CallKailleraInit();
int32_t CallKailleraShutdown();
int32_t CallKailleraSetInfos(KailleraClientInfo* info);
int32_t CallKailleraSelectServerDialog(HWND parent);
int32_t CallKailleraModifyPlayValues(void* values, int32_t size);
int32_t CallKailleraChatSend(char* text);
int32_t CallKailleraEndGame();
