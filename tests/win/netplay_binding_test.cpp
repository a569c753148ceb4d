// Binding the netplay library while it is needed (the configuration dialog; netplay until CloseDLL)
// and never from DllMain, through the real DLL.
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
    // Switches netplay on and opens a ROM; the user closes the server dialog without a game.
    void HoldForNetplay(FakeKaillera& library) {
        ASSERT_EQ(EnableNetplayInConfigDialog(plugin, window.Handle()), "");
        std::thread rom([&] { plugin.RomOpen(); });
        EXPECT_TRUE(library.WaitServerDialog());
        library.CloseServerDialog();
        rom.join();  // the test's deadline catches a RomOpen that never returns
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

TEST_F(NetplayBindingTest, LibraryIsBoundWhileNeededAndNeverUnderTheLoaderLock) {
    FakeKaillera library;
    StartWithLibrary(library);
    EXPECT_EQ(library.CallLog(), "") << "loading the plug-in binds nothing";
    EXPECT_EQ(ShownVersion(), "0.9-fake");
    EXPECT_EQ(library.CallLog(), "kailleraInit,kailleraGetVersion,kailleraShutdown") << "bound for the dialog only";
    HoldForNetplay(library);
    EXPECT_EQ(ShownVersion(), "0.9-fake");
    plugin.CloseDLL();
    plugin.Unload();
    EXPECT_EQ(library.CallLog(),
              "kailleraInit,kailleraGetVersion,kailleraShutdown,"  // the dialog above
              "kailleraInit,kailleraGetVersion,kailleraShutdown,"  // the dialog that enables netplay
              "kailleraInit,kailleraSetInfos,kailleraSelectServerDialog,kailleraGetVersion,kailleraShutdown");
}

TEST_F(NetplayBindingTest, UnloadWithoutCloseDllLeavesTheLibraryAlone) {
    FakeKaillera library;
    StartWithLibrary(library);
    HoldForNetplay(library);
    plugin.Unload();
    EXPECT_EQ(library.Calls("kailleraInit"), 2);
    EXPECT_EQ(library.Calls("kailleraShutdown"), 1) << "only the configuration dialog's";
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

#ifdef _WIN64
// The x86 build takes these names first (tests/x86/netplay_stdcall_test.cpp).
TEST_F(NetplayBindingTest, DecoratedThirtyTwoBitNamesAreNotTakenByTheX64PlugIn) {
    FakeKaillera library("kaillera_decorated.dll");
    StartWithLibrary(library);
    EXPECT_EQ(ShownVersion(), "No Kaillera Dll");
    plugin.CloseDLL();
    EXPECT_EQ(library.CallLog(), "");
}
#endif

// The player corrects a wrong library path in Configure: the next dialog and RomOpen use it.
TEST_F(NetplayBindingTest, LibraryPathCorrectedInConfigureIsUsedWithoutAReload) {
    FakeKaillera library;
    TestRegistry::WriteRaw("Kaillera", "Dll", "C:\\nowhere\\kailleraclient.dll");
    fake.AddKeyboard();
    Start();
    {
        ModalRun config([&] { plugin.DllConfig(window.Handle()); });
        HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(Dialogs::Text(dialog, 1066), "No Kaillera Dll");
        ASSERT_TRUE(Dialogs::ChooseFile(dialog, 1067, library.Path()));
        Dialogs::Cancel(dialog);
        ASSERT_TRUE(config.WaitFinished());
    }
    EXPECT_EQ(ShownVersion(), "0.9-fake");
    HoldForNetplay(library);
    EXPECT_EQ(library.Calls("kailleraSelectServerDialog"), 1);
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
