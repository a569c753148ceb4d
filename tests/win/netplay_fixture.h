// A plug-in bound to the fake netplay library, with netplay switched on through the real
// configuration dialog, as a player would.
#pragma once

#include "fake_kaillera.h"
#include "netplay_switch.h"
#include "plugin_fixture.h"
#include "watchdog.h"

#include <atomic>
#include <string>
#include <thread>

inline constexpr int kDikLShift = 0x2A, kDikLControl = 0x1D, kDikUp = 0xC8;

class NetplayTest : public PluginTest {
protected:
    void TearDown() override {
        library.CloseServerDialog();
        if (romOpen_.joinable()) romOpen_.join();
        PluginTest::TearDown();
    }

    // Stores the library path and the netplay options, maps controller `playAs` to the fake
    // keyboard, loads the plug-in and ticks "Enable Kaillera".
    void StartNetplayPlugin(int playAs = 0, bool viewLog = false) {
        keyboard = fake.AddKeyboard();
        TestRegistry::WriteRaw("Kaillera", "Dll", library.Path());
        TestRegistry::WriteRaw("Kaillera", "PlayAs", std::to_string(playAs));
        TestRegistry::WriteRaw("Kaillera", "ViewLog", viewLog ? "1" : "0");
        if (playAs >= 0 && playAs < 4) StoreMapping(playAs, 0);
        Start();
        ASSERT_TRUE(EnableNetplay());
    }

    bool EnableNetplay(bool on = true) {
        const std::string problem = EnableNetplayInConfigDialog(plugin, window.Handle(), on);
        EXPECT_EQ(problem, "");
        return problem.empty();
    }

    // RomOpen on a thread of its own: it returns once a game has started.
    void OpenRom() {
        romOpenReturned_ = false;
        romOpen_ = std::thread([this] {
            plugin.RomOpen();
            romOpenReturned_ = true;
        });
    }
    bool RomOpenReturned(DWORD timeoutMs = 5000) {
        if (!WaitUntil([this] { return romOpenReturned_.load(); }, timeoutMs)) return false;
        romOpen_.join();
        return true;
    }

    // RomOpen, then the library starts a game with these arguments.
    void BeginGame(const char* name, int playerIndex, int players) {
        OpenRom();
        ASSERT_TRUE(library.WaitServerDialog()) << "the server dialog never opened";
        library.StartGame(name, playerIndex, players);
        ASSERT_TRUE(RomOpenReturned()) << "RomOpen did not return after the game started";
    }

    // One round of the host's polls, controllers 0 to 3.
    void PollRound(ButtonState (&words)[4]) {
        for (int controller = 0; controller < 4; ++controller) words[controller] = plugin.Poll(controller);
    }

    // The log window's text, once it contains `expected` (bounded wait).
    std::string LogText() const { return NetplayLogText(); }
    bool LogContains(const std::string& expected, DWORD timeoutMs = 5000) const {
        return WaitUntil([&] { return LogText().find(expected) != std::string::npos; }, timeoutMs);
    }
    static HWND LogWindow() { return NetplayLogWindow(); }

    FakeKaillera library;
    int32_t keyboard = -1;

private:
    std::thread romOpen_;
    std::atomic<bool> romOpenReturned_{false};
};
