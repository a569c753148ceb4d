#include "fake_link.h"

#include "fake_kaillera_state.h"

#include <atomic>

namespace fakek {

namespace {

// Calls a player may be ahead of another: the client lets no player run more than its frame delay
// ahead, far below this.
constexpr uint32_t kRing = 256;

std::atomic<int32_t> oneWayMs{0};

bool arrived(ULONGLONG sentAt, bool own) { return own || GetTickCount64() >= sentAt + oneWayDelayMs(); }

}  // namespace

struct Link::Player {
    uint32_t submitted;  // calls sent so far
    uint32_t ended;
    ULONGLONG endedAt;
    FakeKRecord records[kRing];
    ULONGLONG sentAt[kRing];
};

int32_t oneWayDelayMs() { return oneWayMs; }
void setOneWayDelayMs(int32_t ms) { oneWayMs = ms < 0 ? 0 : ms; }

bool Link::open(const std::string& channel, int index, int count) {
    close();
    const std::string base = "Local\\TavikFakeKailleraLink_" + channel;
    const DWORD size = sizeof(Player) * kRelaySlots;
    mutex_ = CreateMutexA(nullptr, FALSE, (base + "_lock").c_str());
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size, base.c_str());
    if (mutex_ && mapping_) players_ = static_cast<Player*>(MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (!players_) close();
    index_ = index;
    count_ = count < kBufferRecords ? count : kBufferRecords;
    return players_ != nullptr;
}

void Link::close() {
    if (players_) UnmapViewOfFile(players_);
    if (mapping_) CloseHandle(mapping_);
    if (mutex_) CloseHandle(mutex_);
    players_ = nullptr;
    mapping_ = mutex_ = nullptr;
}

void Link::send(uint32_t call, const FakeKRecord& record) {
    WaitForSingleObject(mutex_, INFINITE);  // abandoned: the other process died; go on
    Player& me = players_[index_];
    me.records[call % kRing] = record;
    me.sentAt[call % kRing] = GetTickCount64();
    me.submitted = call + 1;
    ReleaseMutex(mutex_);
}

void Link::end() {
    WaitForSingleObject(mutex_, INFINITE);
    players_[index_].ended = 1;
    players_[index_].endedAt = GetTickCount64();
    ReleaseMutex(mutex_);
}

int32_t Link::collect(uint32_t call, FakeKRecord* buffer) {
    WaitForSingleObject(mutex_, INFINITE);
    int32_t result = 8 * count_;
    for (int i = 0; i < count_ && result > 0; ++i) {
        const Player& player = players_[i];
        const bool own = i == index_;
        // The end of the game wins over records still to come from that player.
        if (!own && player.ended && arrived(player.endedAt, own)) result = -(i + 1);
        else if (player.submitted <= call || !arrived(player.sentAt[call % kRing], own)) result = 0;
    }
    if (result > 0)
        for (int i = 0; i < count_; ++i) buffer[i] = players_[i].records[call % kRing];
    ReleaseMutex(mutex_);
    return result;
}

}  // namespace fakek

extern "C" void __cdecl FakeK_SetOneWayDelay(int32_t ms) { fakek::setOneWayDelayMs(ms); }
