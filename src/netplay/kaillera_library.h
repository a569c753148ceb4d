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
inline constexpr size_t kKailleraPathSize = 256;  // as the settings keep it

// Loads the library at `path` and resolves its eight entry points.
bool LoadKailleraLibrary(const char* path);
bool UnloadKailleraLibrary();
// True once all eight entry points resolved.
bool KailleraLibraryLoaded();
// Keeps the library mapped until the process ends, whatever unloads it later: once its server
// window has been opened, threads of its own run its code for as long as that window lives.
void PinKailleraLibrary();

// The library's life in the plug-in: bound and initialised at its first need, shut down and
// released when nothing needs it any more. kailleraInit and kailleraShutdown start and clean up
// the client's sockets, which must never happen under the loader lock: none of this may be called
// from DllMain.
//
// Netplay holds the library from its first game (later calls do nothing) until
// ShutDownKailleraLibrary at CloseDLL. Returns whether the binding is complete.
bool StartKailleraLibrary(const char* path);
void ShutDownKailleraLibrary();

// A passing need, such as the configuration dialog showing the version: holds the library for the
// object's life.
class KailleraLibraryUse {
public:
    explicit KailleraLibraryUse(const char* path);
    ~KailleraLibraryUse();
    KailleraLibraryUse(const KailleraLibraryUse&) = delete;
    KailleraLibraryUse& operator=(const KailleraLibraryUse&) = delete;
};

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
