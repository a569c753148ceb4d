// One game poll of four controllers when one of them has a rumble pak, against four GetKeys calls:
// the raw controller's state command and the two passes around it, beside GetKeys for the other
// three, as the emulators call them. Both on the test DirectInput, whose reads cost next to nothing.
#include "bench_timing.h"
#include "fake_dinput.h"
#include "joybus_host.h"
#include "plugin_api.h"
#include "registry_fixture.h"
#include "test_window.h"

#include <algorithm>
#include <cstdio>

int BenchPortPoll() {
    FakeDinput devices;
    devices.AddKeyboard();
    const int32_t pad = devices.AddJoystick("Pad");
    devices.SetForceFeedback(pad, true);
    devices.SetButton(pad, 0, true);
    TestRegistry::DeletePluginKey();
    ControllerConfig record{};
    ApplyAdaptoidDefaults(record, 1);
    for (int controller = 0; controller < 4; ++controller) {
        record.Pak = controller == 0 ? PakRumble : PakNone;
        TestRegistry::WriteRecord("Controller" + std::to_string(controller), record);
    }
    TestWindow window("Tavik_DI bench");
    PluginApi plugin;
    if (!plugin.Load()) return 1;
    ControlSlot slots[4];
    plugin.InitiateControllers(window.Handle(), slots);
    plugin.RomOpen();

    JoybusBlock state = JoybusBlock::State();
    const auto port = [&] {
        plugin.ControllerCommand(0, state.Data());
        plugin.ControllerCommand(-1, nullptr);
        plugin.ReadController(0, state.Data());
        for (int controller = 1; controller < 4; ++controller) plugin.Poll(controller);
        plugin.ReadController(-1, nullptr);
    };
    const auto getKeys = [&] {
        for (int controller = 0; controller < 4; ++controller) plugin.Poll(controller);
    };
    port();
    // Taken in turns, so that neither gains from running later on a warmer machine.
    double withPak = 1e300, plain = 1e300;
    for (int turn = 0; turn < 3; ++turn) {
        plain = std::min(plain, Bench::BestNanosecondsPerCall(5000, getKeys));
        withPak = std::min(withPak, Bench::BestNanosecondsPerCall(5000, port));
    }
    std::printf("controller port, 4 pads, 1 rumble pak %8.0f ns  (state 0x%04X)\n", withPak, state.StateReply().buttons);
    std::printf("  four GetKeys                        %8.0f ns\n", plain);
    std::printf("  ratio                               %8.2fx  (target <= 1.2x)\n", withPak / plain);
    plugin.RomClosed();
    plugin.CloseDLL();
    plugin.Unload();
    TestRegistry::DeletePluginKey();
    return 0;
}
