// Shared main of the Windows test programs.
#include "watchdog.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    // Tells scripts/wine-run.sh that Wine did start the program: a failure from here on is never
    // given a second run.
    if (const char* started = std::getenv("TAVIK_STARTED_FILE")) {
        CloseHandle(CreateFileA(started, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }
    testing::InitGoogleTest(&argc, argv);
    InstallWatchdog(testing::UnitTest::GetInstance()->listeners(), 30);
    return RUN_ALL_TESTS();
}
