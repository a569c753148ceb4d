// The names under which a Kaillera client exports its entry points. 32-bit clients built with
// Microsoft's compiler (the real one among them) decorate them ("_kailleraInit@0"), 32-bit mingw
// builds drop the underscore ("kailleraInit@0"), and every x64 build exports the plain name.
#pragma once

#include <array>
#include <cstdint>
#include <string>

enum KailleraEntry : int32_t {
    KailleraGetVersion,
    KailleraInit,
    KailleraShutdown,
    KailleraSetInfos,
    KailleraSelectServerDialog,
    KailleraModifyPlayValues,
    KailleraChatSend,
    KailleraEndGame,
    KailleraEntryCount
};

// The plain name of an entry point ("kailleraGetVersion").
const char* KailleraPlainName(KailleraEntry entry);

// The spellings to try, in order, for a 32-bit (`thirtyTwoBit`) or a 64-bit library. Unused
// trailing entries are empty.
std::array<std::string, 3> KailleraExportNames(KailleraEntry entry, bool thirtyTwoBit);
