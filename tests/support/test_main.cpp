// Shared main of the Windows test programs.
#include "watchdog.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    InstallWatchdog(testing::UnitTest::GetInstance()->listeners(), 30);
    return RUN_ALL_TESTS();
}
