// Loading and unloading the library: start-up reads the settings, shut-down releases the devices.
#include "plugin_fixture.h"
#include "watchdog.h"

#include "module_exports.h"

#include <cstdio>
#include <vector>

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
    // The thread that looks for pads plugged in keeps the library until it sees the polls stopped.
    EXPECT_TRUE(WaitUntil([&] { return fake.Counters().liveObjects == 0; }));
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

namespace {

// What the process holds: bytes in use on every heap (malloc's included, which Wine's msvcrt keeps
// on a heap of its own) and open handles.
struct ProcessFootprint {
    SIZE_T heapBytes = 0;
    DWORD handles = 0;
};

// Wine's GetProcessHandleCount reports 0; the system's handle table counts them there.
DWORD CountOwnHandles() {
    DWORD count = 0;
    if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
    struct Entry {
        ULONG process;
        UCHAR type, flags;
        USHORT handle;
        void* object;
        ACCESS_MASK access;
    };
    struct Table {
        ULONG count;
        Entry entries[1];
    };
    using Query = LONG(WINAPI*)(ULONG, void*, ULONG, ULONG*);
    const auto query = ExportOf<Query>(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation");
    constexpr ULONG kSystemHandleInformation = 16;
    std::vector<char> buffer(1 << 22);
    ULONG length = 0;
    if (!query || query(kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &length) != 0)
        return 0;
    const auto* table = reinterpret_cast<const Table*>(buffer.data());
    for (ULONG i = 0; i < table->count; ++i) count += table->entries[i].process == GetCurrentProcessId();
    return count;
}

ProcessFootprint MeasureProcess() {
    ProcessFootprint footprint;
    HANDLE heaps[256];
    const DWORD count = GetProcessHeaps(256, heaps);
    for (DWORD i = 0; i < count && i < 256; ++i) {
        if (!HeapLock(heaps[i])) continue;
        PROCESS_HEAP_ENTRY entry{};
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) footprint.heapBytes += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    footprint.handles = CountOwnHandles();
    return footprint;
}

// Keeps the system DLLs that `module` imports loaded, as a host has them, so that each unload of
// the plug-in unloads the plug-in alone.
void PinImports(HMODULE module) {
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); entry->Name;
         ++entry)
        LoadLibraryA(reinterpret_cast<const char*>(base + entry->Name));
}

// Hosts load every plug-in of a folder to list their names, and again each time the list is shown.
TEST(LoadUnload, ThousandLoadsLeaveTheProcessAsTheyFoundIt) {
    TestRegistry::DeletePluginKey();
    // A full path: Wine takes about 12 ms to give up on the default relative one, which would make
    // this test slow without testing anything more.
    TestRegistry::WriteRaw("Kaillera", "Dll", std::string(ProgramFolder()) + "absent.dll");
    const auto cycle = [](bool pin = false) {
        PluginApi plugin;
        ASSERT_TRUE(plugin.Load());
        if (pin) PinImports(plugin.module);
        PluginInfo info{};
        plugin.GetDllInfo(&info);
        plugin.Unload();
    };
    cycle(true);
    for (int i = 0; i < 20; ++i) cycle();  // the system's own caches settle first
    const ProcessFootprint before = MeasureProcess();
    for (int i = 0; i < 1000; ++i) cycle();
    const ProcessFootprint after = MeasureProcess();
    std::printf("1000 loads: heap bytes in use %zu -> %zu, handles %lu -> %lu\n", before.heapBytes, after.heapBytes,
                static_cast<unsigned long>(before.handles), static_cast<unsigned long>(after.handles));
    // Well under one load's 74 KB runtime pool: room for the system's own bookkeeping only.
    EXPECT_LT(after.heapBytes, before.heapBytes + 16 * 1024);
    EXPECT_LE(after.handles, before.handles);
    EXPECT_GT(before.handles, 0u);
    TestRegistry::DeletePluginKey();
}

}  // namespace
