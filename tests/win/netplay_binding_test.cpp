// Binding the netplay library at its first need and releasing it at CloseDLL, through the real DLL.
#include "dialog_driver.h"
#include "netplay_fixture.h"

namespace {

class NetplayBindingTest : public PluginTest {
protected:
    void StartWithLibrary(const FakeKaillera& library) {
        TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
        fake.AddKeyboard();  // the dialog has a device to list, and no box to show
        Start();
    }
    // Opens the configuration dialog, the library's first need, and reads the version it shows.
    std::string ShownVersion() {
        ModalRun config([&] { plugin.DllConfig(window.Handle()); });
        HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
        if (!dialog) return "(no dialog)";
        const std::string version = Dialogs::Text(dialog, 1066);
        Dialogs::Cancel(dialog);
        EXPECT_TRUE(config.WaitFinished());
        return version;
    }
};

TEST_F(NetplayBindingTest, LibraryIsBoundAtFirstNeedAndShutDownAtCloseDllNeverUnderTheLoaderLock) {
    FakeKaillera library;
    StartWithLibrary(library);
    EXPECT_EQ(library.CallLog(), "") << "loading the plug-in binds nothing";
    EXPECT_EQ(ShownVersion(), "0.9-fake");
    EXPECT_EQ(ShownVersion(), "0.9-fake");
    plugin.CloseDLL();
    EXPECT_EQ(ShownVersion(), "0.9-fake") << "a need after CloseDLL binds again";
    plugin.CloseDLL();
    plugin.Unload();
    EXPECT_EQ(library.CallLog(),
              "kailleraInit,kailleraGetVersion,kailleraGetVersion,kailleraShutdown,"
              "kailleraInit,kailleraGetVersion,kailleraShutdown");
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(NetplayBindingTest, UnloadWithoutCloseDllLeavesTheLibraryAlone) {
    FakeKaillera library;
    StartWithLibrary(library);
    ShownVersion();
    plugin.Unload();
    EXPECT_EQ(library.CallLog(), "kailleraInit,kailleraGetVersion");
}

TEST_F(NetplayBindingTest, LibraryLackingAnyEntryPointIsNeverCalled) {
    for (const char* missing : {"kailleraGetVersion", "kailleraInit", "kailleraShutdown", "kailleraSetInfos",
                                "kailleraSelectServerDialog", "kailleraModifyPlayValues", "kailleraChatSend",
                                "kailleraEndGame"}) {
        FakeKaillera library((std::string("kaillera_without_") + missing + ".dll").c_str());
        StartWithLibrary(library);
        EXPECT_EQ(ShownVersion(), "No Kaillera Dll") << "library without " << missing;
        plugin.RomOpen();  // netplay cannot be on: no game is waited for
        plugin.CloseDLL();
        plugin.Unload();
        EXPECT_EQ(library.CallLog(), "") << "library without " << missing;
        TestRegistry::DeletePluginKey();
    }
}

TEST_F(NetplayBindingTest, DecoratedThirtyTwoBitNamesAreNotTakenByTheX64PlugIn) {
    FakeKaillera library("kaillera_decorated.dll");
    StartWithLibrary(library);
    EXPECT_EQ(ShownVersion(), "No Kaillera Dll");
    plugin.CloseDLL();
    EXPECT_EQ(library.CallLog(), "");
}
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
