// A plug-in with netplay ticked in its dialog, against the fake library: the host side of the
// netplay benchmarks.
#pragma once

#include "fake_dinput.h"
#include "fake_kaillera.h"
#include "message_box_catcher.h"
#include "netplay_switch.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"
#include "watchdog.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

struct NetplayBench {
    FakeDinput devices;
    FakeKaillera library;
    MessageBoxCatcher boxes;
    TestWindow window{"Tavik_DI bench"};
    PluginApi plugin;

    // The settings the plug-in loads: keyboard on controller 0, played as the netplay player.
    static void StoreSettings(const std::string& libraryPath) {
        TestRegistry::DeletePluginKey();
        TestRegistry::WriteNumber("Controller0", "DIDevice", 0);
        TestRegistry::WriteRaw("Kaillera", "Dll", libraryPath);
        TestRegistry::WriteRaw("Kaillera", "PlayAs", "0");
    }

    // `storeSettings` false: another process stored them for both hosts of a game.
    bool Start(bool storeSettings = true) {
        devices.AddKeyboard();
        if (storeSettings) StoreSettings(library.Path());
        if (!plugin.Load()) return false;
        ControlSlot slots[4];
        plugin.InitiateControllers(window.Handle(), slots);
        const std::string problem = EnableNetplayInConfigDialog(plugin, window.Handle());
        if (!problem.empty()) std::fprintf(stderr, "bench: %s\n", problem.c_str());
        return problem.empty();
    }
    // RomOpen, and the library's user starts a game while it waits.
    void OpenRomIntoGame(const char* name, int32_t player = 1) {
        std::atomic<bool> opened{false};
        std::thread romOpen([&] {
            plugin.RomOpen();
            opened = true;
        });
        library.WaitServerDialog();
        library.StartGame(name, player, 2);
        WaitUntil([&] { return opened.load(); }, 10000);
        romOpen.join();
    }
    void End(bool deleteSettings = true) {
        plugin.RomClosed();
        library.CloseServerDialog();
        plugin.CloseDLL();
        plugin.Unload();
        if (deleteSettings) TestRegistry::DeletePluginKey();
    }
};
