#include "fake_kaillera.h"

#include "module_exports.h"
#include "plugin_api.h"

#include <cstring>

FakeKaillera::FakeKaillera(const char* dllName) : path_(std::string(ProgramFolder()) + "kaillera\\" + dllName) {
    module_ = LoadLibraryA(path_.c_str());
    auto resolve = [this, dllName](const char* name, auto& target) { RequireExport(module_, dllName, name, target); };
    resolve("FakeK_Reset", reset_);
    resolve("FakeK_CallLog", callLog_);
    resolve("FakeK_CallCount", callCount_);
    resolve("FakeK_ClientInfo", clientInfo_);
    resolve("FakeK_ChatSent", chatSent_);
    resolve("FakeK_SentCount", sentCount_);
    resolve("FakeK_Sent", sent_);
    resolve("FakeK_ServerDialogOpen", serverDialogOpen_);
    resolve("FakeK_SetVersion", setVersion_);
    resolve("FakeK_WaitServerDialog", waitServerDialog_);
    resolve("FakeK_StartGame", startGame_);
    resolve("FakeK_GameRunning", gameRunning_);
    resolve("FakeK_WaitGameEnd", waitGameEnd_);
    resolve("FakeK_ReceiveChat", receiveChat_);
    resolve("FakeK_DropPlayer", dropPlayer_);
    resolve("FakeK_CloseServerDialog", closeServerDialog_);
    resolve("FakeK_QueueResults", queueResults_);
    resolve("FakeK_SetRemoteState", setRemoteState_);
    resolve("FakeK_SetRemoteOffset", setRemoteOffset_);
    resolve("FakeK_SetAnsweredPlayers", setAnsweredPlayers_);
    resolve("FakeK_JoinRelay", joinRelay_);
    resolve("FakeK_SetClientMode", setClientMode_);
    resolve("FakeK_WindowsOpen", windowsOpen_);
    resolve("FakeK_SetOneWayDelay", setOneWayDelay_);
    reset_();
}

FakeKaillera::~FakeKaillera() {
    if (module_) {
        reset_();  // releases a server dialog that is still open
        FreeLibrary(module_);
    }
}

void FakeKaillera::DropReference() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
}

std::string FakeKaillera::CallLog() const {
    const int32_t length = callLog_(nullptr, 0);
    std::string log(static_cast<size_t>(length) + 1, '\0');
    callLog_(log.data(), static_cast<int32_t>(log.size()));
    log.resize(std::strlen(log.c_str()));
    return log;
}

std::string FakeKaillera::ClientName() const {
    char name[512] = {}, list[512] = {};
    clientInfo_(name, sizeof name, list, sizeof list);
    return name;
}

std::string FakeKaillera::GameList() const {
    char name[512] = {}, list[512] = {};
    clientInfo_(name, sizeof name, list, sizeof list);
    return list;
}

std::vector<std::string> FakeKaillera::ChatSent() const {
    std::vector<std::string> texts;
    char text[1024];
    for (int32_t i = 0; chatSent_(i, text, sizeof text); ++i) texts.emplace_back(text);
    return texts;
}

std::vector<FakeKRecord> FakeKaillera::Sent() const {
    std::vector<FakeKRecord> records(static_cast<size_t>(sentCount_()));
    for (size_t i = 0; i < records.size(); ++i) sent_(static_cast<int32_t>(i), &records[i]);
    return records;
}

void FakeKaillera::SetRemoteState(int32_t player, ButtonState state) { setRemoteState_(player, StateWord(state)); }

uint32_t StateWord(ButtonState state) {
    uint32_t word = 0;
    std::memcpy(&word, &state, sizeof word);
    return word;
}

ButtonState StateFromWord(uint32_t word) {
    ButtonState state;
    std::memcpy(&state, &word, sizeof state);
    return state;
}
