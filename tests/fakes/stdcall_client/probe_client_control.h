// The test's controls of the 32-bit probe netplay client (cdecl exports, resolved by name).
#pragma once

#include <cstdint>

enum ProbeKText : int32_t {
    ProbeKLog,       // one line per call: "<spelling> <entry point>"
    ProbeKBreaches,  // one line per breach of the calling contract or of the arguments
};
enum ProbeKCounter : int32_t { ProbeKExchanges, ProbeKGamesStarted, ProbeKGamesEnded };

using ProbeK_Reset_t = void(__cdecl*)();
using ProbeK_Text_t = int32_t(__cdecl*)(int32_t which, char* buffer, int32_t size);
using ProbeK_Counter_t = int32_t(__cdecl*)(int32_t which);
using ProbeK_CloseDialog_t = void(__cdecl*)();
