// Loading and unloading the library: start-up reads the settings, shut-down releases the devices.
#include "plugin_fixture.h"

namespace {

using StartUpTest = PluginTest;

TEST_F(StartUpTest, StoredMappingIsInForceFromTheFirstPoll) {
    const int32_t keyboard = fake.AddKeyboard();
    StoreMapping(3, 0, {{"ButtonB", 0x10}});  // Q
    Start();
    fake.SetKey(keyboard, 0x10, true);
    fake.SetKey(keyboard, 0x2A, true);  // left shift, the layout's A, which the load filled in
    EXPECT_EQ(plugin.Poll(3).buttons, ButtonBit::B | ButtonBit::A);
}

TEST_F(StartUpTest, LoadingTouchesNeitherTheRegistryNorTheDevices) {
    fake.AddKeyboard();
    Start(false);
    plugin.Unload();
    EXPECT_FALSE(TestRegistry::PluginKeyExists());
    EXPECT_EQ(fake.Counters().directInputsCreated, 0);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(StartUpTest, UnloadWhileAGameRunsReleasesEveryDevice) {
    fake.AddKeyboard();
    fake.AddJoystick();
    Start();
    plugin.RomOpen();
    plugin.Poll(0);
    plugin.Unload();
    const FakeDiCounters counters = fake.Counters();
    EXPECT_EQ(counters.liveObjects, 0);
    EXPECT_EQ(counters.references, 0);
    EXPECT_EQ(counters.acquiredNow, 0);
}

TEST_F(StartUpTest, ReloadStartsFromTheStoredSettingsAgain) {
    const int32_t keyboard = fake.AddKeyboard();
    Start();
    fake.SetKey(keyboard, 0x2A, true);
    EXPECT_EQ(plugin.Poll(0), kIdle);  // nothing stored: no controller reads a device
    plugin.Unload();
    StoreMapping(0, 0);
    Start();
    EXPECT_EQ(plugin.Poll(0).buttons, ButtonBit::A);
}

}  // namespace

namespace {

// Runs exit_host.exe, which ends its process with the plug-in loaded and devices acquired.
DWORD RunExitHost(const char* dllOverrides) {
    SetEnvironmentVariableA("WINEDLLOVERRIDES", dllOverrides);
    std::string command = std::string(ProgramFolder()) + "exit_host.exe";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, ProgramFolder(), &startup,
                        &process))
        return 1000;
    const DWORD waited = WaitForSingleObject(process.hProcess, 15000);
    DWORD code = 1001;
    if (waited == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &code);
    else TerminateProcess(process.hProcess, 1002);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return code;
}

TEST(ProcessExit, HostThatExitsWithThePluginLoadedEndsPromptly) {
    TestRegistry::DeletePluginKey();
    TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
    EXPECT_EQ(RunExitHost("dinput=b"), 0u) << "with Wine's own keyboard";
    EXPECT_EQ(RunExitHost("dinput=n"), 0u) << "with the fake devices";
    TestRegistry::DeletePluginKey();
}

}  // namespace
