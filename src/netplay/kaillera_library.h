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

// Loads the library named by the netplay settings' Dll and resolves its eight entry points.
bool LoadKailleraLibrary();
bool UnloadKailleraLibrary();
// True once all eight entry points resolved.
bool KailleraLibraryLoaded();

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
