// The test's handle on the fake netplay library that the plug-in loads from its saved path.
#pragma once

#include "../fakes/kaillera/fake_kaillera_control.h"
#include "input/button_state.h"

#include <windows.h>

#include <string>
#include <vector>

class FakeKaillera {
public:
    // Loads `dllName` (default: the complete fake) from the program's folder and resets it. The
    // plug-in, given the same path, binds to this very module.
    explicit FakeKaillera(const char* dllName = "kailleraclient.dll");
    ~FakeKaillera();
    FakeKaillera(const FakeKaillera&) = delete;
    FakeKaillera& operator=(const FakeKaillera&) = delete;

    const std::string& Path() const { return path_; }
    std::string CallLog() const;
    int32_t Calls(const char* entryPoint) const { return callCount_(entryPoint); }
    std::string ClientName() const;
    std::string GameList() const;
    std::vector<std::string> ChatSent() const;
    std::vector<FakeKRecord> Sent() const;
    bool ServerDialogOpen() const { return serverDialogOpen_() != 0; }

    void SetVersion(const char* text) { setVersion_(text); }
    bool WaitServerDialog(int32_t timeoutMs = 5000) { return waitServerDialog_(timeoutMs) != 0; }
    void StartGame(const char* game, int32_t playerIndex, int32_t playerCount) {
        startGame_(game, playerIndex, playerCount);
    }
    bool GameRunning() const { return gameRunning_() != 0; }
    bool WaitGameEnd(int32_t timeoutMs = 5000) {
        int32_t result = 0;
        return waitGameEnd_(timeoutMs, &result) != 0;
    }
    void ReceiveChat(const char* nick, const char* text) { receiveChat_(nick, text); }
    void DropPlayer(const char* nick, int32_t number) { dropPlayer_(nick, number); }
    void CloseServerDialog() { closeServerDialog_(); }
    void QueueResults(std::vector<int32_t> results) {
        queueResults_(results.data(), static_cast<int32_t>(results.size()));
    }
    void SetRemoteState(int32_t player, ButtonState state);
    void SetRemoteOffset(int32_t player, int32_t offset, int32_t times = -1) {
        setRemoteOffset_(player, offset, times);
    }
    void SetAnsweredPlayers(int32_t players) { setAnsweredPlayers_(players); }
    bool JoinRelay(const char* channel, int32_t playerIndex, int32_t playerCount) {
        return joinRelay_(channel, playerIndex, playerCount) != 0;
    }
    void SetClientMode(int32_t syncMs, int32_t frameDelay = 1, int32_t dataTimeoutMs = 8000) {
        setClientMode_(syncMs, frameDelay, dataTimeoutMs);
    }
    int32_t WindowsOpen() const { return windowsOpen_(); }
    void SetOneWayDelay(int32_t ms) { setOneWayDelay_(ms); }
    // Gives up this program's own reference on the library, as a host has none: then only the
    // plug-in keeps it loaded. The controls stay usable only for as long as the plug-in does.
    void DropReference();

private:
    std::string path_;
    HMODULE module_ = nullptr;
    FakeK_Reset_t reset_ = nullptr;
    FakeK_CallLog_t callLog_ = nullptr;
    FakeK_CallCount_t callCount_ = nullptr;
    FakeK_ClientInfo_t clientInfo_ = nullptr;
    FakeK_ChatSent_t chatSent_ = nullptr;
    FakeK_SentCount_t sentCount_ = nullptr;
    FakeK_Sent_t sent_ = nullptr;
    FakeK_ServerDialogOpen_t serverDialogOpen_ = nullptr;
    FakeK_SetVersion_t setVersion_ = nullptr;
    FakeK_WaitServerDialog_t waitServerDialog_ = nullptr;
    FakeK_StartGame_t startGame_ = nullptr;
    FakeK_GameRunning_t gameRunning_ = nullptr;
    FakeK_WaitGameEnd_t waitGameEnd_ = nullptr;
    FakeK_ReceiveChat_t receiveChat_ = nullptr;
    FakeK_DropPlayer_t dropPlayer_ = nullptr;
    FakeK_CloseServerDialog_t closeServerDialog_ = nullptr;
    FakeK_QueueResults_t queueResults_ = nullptr;
    FakeK_SetRemoteState_t setRemoteState_ = nullptr;
    FakeK_SetRemoteOffset_t setRemoteOffset_ = nullptr;
    FakeK_SetAnsweredPlayers_t setAnsweredPlayers_ = nullptr;
    FakeK_JoinRelay_t joinRelay_ = nullptr;
    FakeK_SetClientMode_t setClientMode_ = nullptr;
    FakeK_WindowsOpen_t windowsOpen_ = nullptr;
    FakeK_SetOneWayDelay_t setOneWayDelay_ = nullptr;
};

// The 4-byte controller state as the library carries it.
uint32_t StateWord(ButtonState state);
ButtonState StateFromWord(uint32_t word);
