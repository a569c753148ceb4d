// Binding the netplay library at start-up and releasing it at shut-down, through the real DLL.
#include "netplay_fixture.h"

namespace {

class NetplayBindingTest : public PluginTest {
protected:
    void StartWithLibrary(const FakeKaillera& library) {
        TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
        Start();
    }
};

TEST_F(NetplayBindingTest, LibraryIsInitialisedAtLoadAndShutDownAtUnload) {
    FakeKaillera library;
    StartWithLibrary(library);
    EXPECT_EQ(library.CallLog(), "kailleraInit");
    plugin.Unload();
    EXPECT_EQ(library.CallLog(), "kailleraInit,kailleraShutdown");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(NetplayBindingTest, CloseDllThenUnloadStopsNetplayBeforeTheLibraryShutsDown) {
    FakeKaillera library;
    StartWithLibrary(library);
    plugin.CloseDLL();
    plugin.Unload();
    EXPECT_EQ(library.Calls("kailleraShutdown"), 1);
    EXPECT_EQ(library.Calls("kailleraEndGame"), 0);
}

TEST_F(NetplayBindingTest, LibraryLackingAnyEntryPointIsNeverCalled) {
    for (const char* missing : {"kailleraGetVersion", "kailleraInit", "kailleraShutdown", "kailleraSetInfos",
                                "kailleraSelectServerDialog", "kailleraModifyPlayValues", "kailleraChatSend",
                                "kailleraEndGame"}) {
        FakeKaillera library((std::string("kaillera_without_") + missing + ".dll").c_str());
        StartWithLibrary(library);
        plugin.RomOpen();  // netplay cannot be on: no game is waited for
        plugin.Unload();
        EXPECT_EQ(library.CallLog(), "") << "library without " << missing;
        TestRegistry::DeletePluginKey();
    }
}

#ifdef _WIN64
// The x86 build takes these names first (tests/x86/netplay_stdcall_test.cpp).
TEST_F(NetplayBindingTest, DecoratedThirtyTwoBitNamesAreNotTakenByTheX64PlugIn) {
    FakeKaillera library("kaillera_decorated.dll");
    StartWithLibrary(library);
    plugin.Unload();
    EXPECT_EQ(library.CallLog(), "");
}
#endif

TEST_F(NetplayBindingTest, MissingLibraryFileIsSilentlyIgnored) {
    TestRegistry::WriteRaw("Kaillera", "Dll", "C:\\nowhere\\kailleraclient.dll");
    Start();
    fake.AddKeyboard();
    StoreMapping(0, 0);
    plugin.RomOpen();
    plugin.Poll(0);
    plugin.Unload();
    EXPECT_TRUE(boxes.Boxes().empty());
}

}  // namespace
