// The netplay library's side of the 32-bit binary interface, against the probe client
// (tests/fakes/stdcall_client): which export spelling the plug-in takes, and the __stdcall
// contract of its calls into the library and of its handlers that the library calls back.
#include "../fakes/stdcall_client/probe_client_control.h"
#include "checked_call.h"
#include "dialog_driver.h"
#include "module_exports.h"
#include "netplay_switch.h"
#include "plugin_fixture.h"
#include "watchdog.h"

#include <atomic>
#include <sstream>
#include <thread>

namespace {

class ProbeClient {
public:
    explicit ProbeClient(const char* dllName) : path_(std::string(ProgramFolder()) + "kaillera\\" + dllName) {
        module_ = LoadLibraryA(path_.c_str());
        RequireExport(module_, dllName, "ProbeK_Reset", reset_);
        RequireExport(module_, dllName, "ProbeK_Text", text_);
        RequireExport(module_, dllName, "ProbeK_Counter", counter_);
        RequireExport(module_, dllName, "ProbeK_CloseDialog", closeDialog_);
        reset_();
    }
    ~ProbeClient() {
        closeDialog_();
        FreeLibrary(module_);
    }
    ProbeClient(const ProbeClient&) = delete;
    ProbeClient& operator=(const ProbeClient&) = delete;

    const std::string& Path() const { return path_; }
    std::string Text(ProbeKText which) const {
        std::string text(static_cast<size_t>(text_(which, nullptr, 0)) + 1, '\0');
        text.resize(static_cast<size_t>(text_(which, text.data(), static_cast<int32_t>(text.size()))));
        return text;
    }
    int32_t Counter(ProbeKCounter which) const { return counter_(which); }
    void CloseDialog() const { closeDialog_(); }

private:
    std::string path_;
    HMODULE module_ = nullptr;
    ProbeK_Reset_t reset_ = nullptr;
    ProbeK_Text_t text_ = nullptr;
    ProbeK_Counter_t counter_ = nullptr;
    ProbeK_CloseDialog_t closeDialog_ = nullptr;
};

class NetplayStdcallTest : public PluginTest {
protected:
    const void* Export(const char* name) const {
        return reinterpret_cast<const void*>(GetProcAddress(plugin.module, name));
    }
};

TEST_F(NetplayStdcallTest, SpellingsAreTakenMicrosoftFirstThenMingwThenPlain) {
    for (const auto& [dll, spelling] : {std::pair{"probe_client_all.dll", "msvc"},
                                        {"probe_client_mingw.dll", "mingw"},
                                        {"probe_client_plain.dll", "plain"}}) {
        ProbeClient client(dll);
        TestRegistry::WriteRaw("Kaillera", "Dll", client.Path());
        fake.AddKeyboard();
        Start();
        {
            // The configuration dialog is the library's first need: it shows the version.
            ModalRun config([&] { plugin.DllConfig(window.Handle()); });
            HWND dialog = Dialogs::Find("Tavik_Di Plugin Configuration");
            ASSERT_NE(dialog, nullptr);
            Dialogs::Cancel(dialog);
            EXPECT_TRUE(config.WaitFinished());
        }
        plugin.CloseDLL();
        plugin.Unload();
        EXPECT_EQ(client.Text(ProbeKLog), std::string(spelling) + " kailleraInit\n" + spelling +
                                              " kailleraGetVersion\n" + spelling + " kailleraShutdown\n")
            << dll;
        TestRegistry::DeletePluginKey();
    }
}

TEST_F(NetplayStdcallTest, CallsAndHandlersKeepTheStdcallContractThroughAGame) {
    ProbeClient client("probe_client_all.dll");
    const int32_t keyboard = fake.AddKeyboard();
    TestRegistry::WriteRaw("Kaillera", "Dll", client.Path());
    TestRegistry::WriteRaw("Kaillera", "PlayAs", "0");
    StoreMapping(0, 0);
    Start();
    ASSERT_EQ(EnableNetplayInConfigDialog(plugin, window.Handle()), "");

    // RomOpen returns once the library has started the game.
    std::atomic<bool> romOpened{false};
    CallContract romOpen;
    std::thread host([&] {
        romOpen = CheckedCall(Export("RomOpen"), CallingConvention::Cdecl, {}, 4);
        romOpened = true;
    });
    const bool started = WaitUntil([&] { return romOpened.load(); }, 10000);
    if (!started) client.CloseDialog();  // lets RomOpen return, so the thread can be joined
    host.join();
    ASSERT_TRUE(started) << "RomOpen did not return after the game started";
    EXPECT_EQ(romOpen.breaches, "");

    fake.SetKey(keyboard, 0x2A, true);
    for (uint32_t round = 0; round < 5; ++round) {
        for (uint32_t controller = 0; controller < 4; ++controller) {
            ButtonState state{};
            const CallContract poll =
                CheckedCall(Export("GetKeys"), CallingConvention::Cdecl, {controller, Word(&state)}, 4 * round);
            EXPECT_EQ(poll.breaches, "") << "poll " << round << " of controller " << controller;
        }
    }
    EXPECT_EQ(client.Counter(ProbeKExchanges), 20);
    EXPECT_EQ(CheckedCall(Export("RomClosed"), CallingConvention::Cdecl, {}).breaches, "");
    EXPECT_TRUE(WaitUntil([&] { return client.Counter(ProbeKGamesEnded) == 1; })) << "the game handler never returned";
    EXPECT_EQ(CheckedCall(Export("CloseDLL"), CallingConvention::Cdecl, {}).breaches, "");
    plugin.Unload();
    // The client is shut down once its window has closed, by the worker leaving it.
    client.CloseDialog();
    EXPECT_TRUE(WaitUntil([] { return GetModuleHandleA("Tavik_DI.dll") == nullptr; }));

    EXPECT_EQ(client.Text(ProbeKBreaches), "");
    std::istringstream log(client.Text(ProbeKLog));
    std::string call, calls;
    for (std::string line; std::getline(log, line);) {
        EXPECT_EQ(line.rfind("msvc ", 0), 0u) << line;
        if (line != call) calls += (call = line) + ',';
    }
    EXPECT_EQ(calls,
              "msvc kailleraInit,msvc kailleraGetVersion,msvc kailleraShutdown,"  // the dialog enabling netplay
              "msvc kailleraInit,msvc kailleraSetInfos,msvc kailleraSelectServerDialog,"
              "msvc kailleraModifyPlayValues,msvc kailleraEndGame,msvc kailleraShutdown,");
}

}  // namespace
