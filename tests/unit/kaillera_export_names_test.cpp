#include "netplay/kaillera_export_names.h"

#include <gtest/gtest.h>

namespace {

TEST(KailleraExportNames, ThirtyTwoBitTriesMicrosoftThenMingwThenPlainSpelling) {
    const auto names = KailleraExportNames(KailleraModifyPlayValues, true);
    EXPECT_EQ(names[0], "_kailleraModifyPlayValues@8");
    EXPECT_EQ(names[1], "kailleraModifyPlayValues@8");
    EXPECT_EQ(names[2], "kailleraModifyPlayValues");
    EXPECT_EQ(KailleraExportNames(KailleraGetVersion, true)[0], "_kailleraGetVersion@4");
    EXPECT_EQ(KailleraExportNames(KailleraInit, true)[0], "_kailleraInit@0");
    EXPECT_EQ(KailleraExportNames(KailleraSelectServerDialog, true)[1], "kailleraSelectServerDialog@4");
    EXPECT_EQ(KailleraExportNames(KailleraEndGame, true)[0], "_kailleraEndGame@0");
}

TEST(KailleraExportNames, SixtyFourBitAsksOnlyForThePlainName) {
    for (int entry = 0; entry < KailleraEntryCount; ++entry) {
        const auto names = KailleraExportNames(static_cast<KailleraEntry>(entry), false);
        EXPECT_EQ(names[0], KailleraPlainName(static_cast<KailleraEntry>(entry)));
        EXPECT_TRUE(names[1].empty());
        EXPECT_TRUE(names[2].empty());
    }
    EXPECT_EQ(KailleraExportNames(KailleraChatSend, false)[0], "kailleraChatSend");
}

}  // namespace
