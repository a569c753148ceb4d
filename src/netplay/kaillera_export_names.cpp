#include "netplay/kaillera_export_names.h"

namespace {
struct EntryName {
    const char* plain;
    int argumentBytes;  // what the stdcall decoration counts on 32-bit builds
};
constexpr EntryName kEntries[KailleraEntryCount] = {
    {"kailleraGetVersion", 4},         {"kailleraInit", 0},
    {"kailleraShutdown", 0},           {"kailleraSetInfos", 4},
    {"kailleraSelectServerDialog", 4}, {"kailleraModifyPlayValues", 8},
    {"kailleraChatSend", 4},           {"kailleraEndGame", 0},
};
}  // namespace

const char* KailleraPlainName(KailleraEntry entry) { return kEntries[entry].plain; }

std::array<std::string, 3> KailleraExportNames(KailleraEntry entry, bool thirtyTwoBit) {
    const EntryName& e = kEntries[entry];
    if (!thirtyTwoBit) return {e.plain, "", ""};
    const std::string mingw = std::string(e.plain) + "@" + std::to_string(e.argumentBytes);
    return {"_" + mingw, mingw, e.plain};
}
