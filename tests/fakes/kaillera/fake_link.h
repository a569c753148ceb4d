// The network between the processes of one game in client mode: every call's record goes into
// memory shared by name, stamped with the time it was sent, and the other processes see it one
// one-way delay later, as the real client's datagrams arrive. The end of the game travels the same
// way. Nothing is dropped or repeated: each player's records are read back in the order sent.
#pragma once

#include "fake_kaillera_control.h"

#include <windows.h>

#include <cstdint>
#include <string>

namespace fakek {

class Link {
public:
    // This process is player `index` (0-based) of `count` on `channel`.
    bool open(const std::string& channel, int index, int count);
    void close();
    bool isOpen() const { return players_ != nullptr; }

    void send(uint32_t call, const FakeKRecord& record);
    void end();  // this player ended the game

    // Every player's record of call `call` into `buffer` (at most four), once all have arrived:
    // the bytes written. 0 while one is still on its way; -(player + 1) when that player ended the
    // game before sending it.
    int32_t collect(uint32_t call, FakeKRecord* buffer);

private:
    struct Player;
    HANDLE mapping_ = nullptr;
    HANDLE mutex_ = nullptr;
    Player* players_ = nullptr;
    int index_ = 0;
    int count_ = 0;
};

// The one-way delay of the links of this process, in ms (both processes set the same).
int32_t oneWayDelayMs();
void setOneWayDelayMs(int32_t ms);

}  // namespace fakek
