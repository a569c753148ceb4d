// The log window's thread against the host unloading the plug-in: it is told to end, never killed,
// and it keeps the plug-in's code mapped for as long as it runs.
#include "import_hook.h"
#include "module_exports.h"
#include "netplay_fixture.h"

namespace {

bool PluginMapped() { return GetModuleHandleA("Tavik_DI.dll") != nullptr; }

TEST_F(NetplayTest, UnloadWithALongBacklogInTheLogWindowNeitherHangsNorCrashes) {
    StartNetplayPlugin(0, true);
    BeginGame("Backlog", 1, 2);
    const std::string text(10000, 'x');
    for (int line = 0; line < 200; ++line) library.ReceiveChat("bob", text.c_str());
    plugin.RomClosed();
    plugin.CloseDLL();
    plugin.Unload();  // a hang is caught by the test's deadline
    library.CloseServerDialog();  // the netplay worker keeps the plug-in loaded until then
    EXPECT_TRUE(WaitUntil([] { return !PluginMapped(); }, 10000)) << "the plug-in stayed loaded";
    EXPECT_EQ(LogWindow(), nullptr);
    Sleep(2000);  // a thread left in unloaded code would crash the program by now
}

// The first line of the log makes the window's thread. The host frees the plug-in while that
// thread is being created, paused there through the plug-in's import of CreateThread.
using CreateThreadFn = decltype(&CreateThread);
CreateThreadFn realCreateThread = nullptr;
std::atomic<bool> pauseNextThread{false};
HANDLE threadPaused = CreateEventA(nullptr, TRUE, FALSE, nullptr);
HANDLE threadMayGo = CreateEventA(nullptr, TRUE, FALSE, nullptr);

HANDLE WINAPI PausingCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE start,
                                  LPVOID parameter, DWORD flags, LPDWORD id) {
    if (pauseNextThread.exchange(false)) {
        SetEvent(threadPaused);
        WaitForSingleObject(threadMayGo, 5000);
    }
    return realCreateThread(security, stack, start, parameter, flags, id);
}

TEST_F(NetplayTest, UnloadWhileTheLogWindowIsBeingMadeRunsNoUnloadedCode) {
    StartNetplayPlugin(0);
    OpenRom();
    ASSERT_TRUE(library.WaitServerDialog());
    library.CloseServerDialog();  // no game; the library keeps the plug-in's handlers
    ASSERT_TRUE(RomOpenReturned());
    realCreateThread = reinterpret_cast<CreateThreadFn>(
        ReplaceImport(plugin.module, "kernel32.dll", "CreateThread", reinterpret_cast<void*>(&PausingCreateThread)));
    ASSERT_NE(realCreateThread, nullptr);
    pauseNextThread = true;

    std::thread chat([&] { library.ReceiveChat("bob", "first line"); });
    ASSERT_EQ(WaitForSingleObject(threadPaused, 5000), WAIT_OBJECT_0);
    plugin.Unload();
    SetEvent(threadMayGo);
    chat.join();
    Sleep(1000);  // a thread started in unloaded code would crash the program by now

    // The window's thread keeps the plug-in loaded until it is told to end.
    HMODULE still = nullptr;
    ASSERT_TRUE(GetModuleHandleExA(0, "Tavik_DI.dll", &still));
    EXPECT_TRUE(WaitUntil([&] { return LogText() == "<bob> first line\r\n"; })) << LogText();
    ExportOf<void(__cdecl*)()>(still, "CloseDLL")();
    FreeLibrary(still);
    EXPECT_TRUE(WaitUntil([] { return !PluginMapped(); }, 10000)) << "the plug-in stayed loaded";
}

}  // namespace
