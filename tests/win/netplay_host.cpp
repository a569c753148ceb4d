// One of two hosts playing one netplay game against each other through the fake library's relay.
// Usage: netplay_host.exe PLAYER CHANNEL ROUNDS. Exits 0 when this host saw its own scripted
// input on its own controller and the other host's on the other's, and nothing else.
#include "fake_dinput.h"
#include "fake_kaillera.h"
#include "message_box_catcher.h"
#include "netplay_switch.h"
#include "plugin_api.h"
#include "test_window.h"
#include "watchdog.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <thread>

namespace {

constexpr int kDikLShift = 0x2A, kDikLControl = 0x1D, kDikZ = 0x2C, kDikS = 0x1F;

// What player `player` holds in round `round`: two keys of its own, switching every 25 rounds.
struct Script {
    int key;
    uint16_t bit;
};
Script ScriptFor(int player, int round) {
    const bool second = (round / 25) % 2 == 1;
    if (player == 0) return second ? Script{kDikZ, ButtonBit::TriggerZ} : Script{kDikLShift, ButtonBit::A};
    return second ? Script{kDikS, ButtonBit::TriggerRight} : Script{kDikLControl, ButtonBit::B};
}

int Fail(const char* what) {
    std::fprintf(stderr, "netplay host: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) return Fail("usage: netplay_host PLAYER CHANNEL ROUNDS");
    const int player = std::atoi(argv[1]);
    const int other = 1 - player;
    const int rounds = std::atoi(argv[3]);

    FakeDinput devices;
    const int32_t keyboard = devices.AddKeyboard();
    MessageBoxCatcher boxes;
    TestWindow window("Tavik_DI netplay host");
    FakeKaillera library;
    PluginApi plugin;
    if (!plugin.Load()) return Fail("the plug-in did not load");
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    if (const std::string problem = EnableNetplayInConfigDialog(plugin, window.Handle()); !problem.empty())
        return Fail(problem.c_str());
    if (!library.JoinRelay(argv[2], player, 2)) return Fail("could not join the relay");

    std::atomic<bool> opened{false};
    std::thread romOpen([&] {
        plugin.RomOpen();
        opened = true;
    });
    if (!library.WaitServerDialog(10000)) return Fail("the server dialog never opened");
    library.StartGame("Two hosts", player, 2);
    if (!WaitUntil([&] { return opened.load(); }, 10000)) return Fail("RomOpen did not return");
    romOpen.join();

    std::set<uint16_t> seenFromOther;
    int previousKey = 0;
    for (int round = 0; round < rounds; ++round) {
        const Script mine = ScriptFor(player, round);
        if (mine.key != previousKey) {
            if (previousKey) devices.SetKey(keyboard, previousKey, false);
            devices.SetKey(keyboard, mine.key, true);
            previousKey = mine.key;
        }
        ButtonState words[4];
        for (int controller = 0; controller < 4; ++controller) words[controller] = plugin.Poll(controller);
        if (words[player].buttons != mine.bit) return Fail("own controller does not show own input");
        seenFromOther.insert(words[other].buttons);
        if (words[2].buttons || words[3].buttons) return Fail("a controller beyond the two players moved");
    }
    plugin.RomClosed();

    // The other host's two keys must both have come through, and nothing that it never pressed
    // (0: before its first record arrived).
    const std::set<uint16_t> expected{0, ScriptFor(other, 0).bit, ScriptFor(other, 25).bit};
    for (uint16_t seen : seenFromOther)
        if (!expected.count(seen)) return Fail("the other controller showed input the other host never sent");
    if (!seenFromOther.count(ScriptFor(other, 0).bit) || !seenFromOther.count(ScriptFor(other, 25).bit))
        return Fail("the other host's input did not come through");
    if (!boxes.Boxes().empty()) return Fail("a message box was shown");
    std::printf("netplay host %d: %d rounds, saw the other's input\n", player, rounds);
    return 0;
}
