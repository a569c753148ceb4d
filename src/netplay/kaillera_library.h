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

// The library's life in the plug-in, owned here alone: bound and initialised by its first need,
// pinned once its server window has opened, shut down and released by its last need.
// kailleraInit and kailleraShutdown start and clean up the client's sockets: never from DllMain,
// and the shut-down never while a thread is inside the server window, whose threads go on using
// them. None of this may be called from DllMain.
enum class KailleraNeed {
    Netplay,       // from the first netplay RomOpen to CloseDLL
    ServerWindow,  // a thread inside kailleraSelectServerDialog; the library stays mapped for good
    Passing,       // a dialog showing the version
};
// Returns whether the binding is complete. While no server window is open, a need whose `path`
// differs from the bound one, or finds nothing bound, binds from its own: a path corrected in the
// configuration dialog takes effect at the next RomOpen or dialog.
bool HoldKailleraLibrary(KailleraNeed need, const char* path);
void ReleaseKailleraLibrary(KailleraNeed need);

// A passing need: holds the library for the object's life.
class KailleraLibraryUse {
public:
    explicit KailleraLibraryUse(const char* path) { HoldKailleraLibrary(KailleraNeed::Passing, path); }
    ~KailleraLibraryUse() { ReleaseKailleraLibrary(KailleraNeed::Passing); }
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
