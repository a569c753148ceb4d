// The console's controller port as the plug-in serves it: what InitiateControllers tells the host
// of each controller, and, for a controller with a rumble pak, the host's command blocks routed to
// the command logic, the state word and the motor. The host calls all of it on its emulation
// thread, InitiateControllers aside.
#pragma once

#include "input/button_state.h"
#include "input/device_table.h"
#include "plugin/host_records.h"

#include <atomic>
#include <cstdint>

// What the port keeps of one controller between the host's calls.
struct PortController {
    std::atomic<bool> raw{false};  // told the host it answers its commands (a rumble pak)
    // The host reads this controller through GetKeys as well as through the state command, as some
    // emulators do every frame: the command then answers the word GetKeys gave.
    std::atomic<bool> polledThroughGetKeys{false};
    std::atomic<uint32_t> lastWord{0};
};

// InitiateControllers, once the host's window is known: fills the host's four slots from the pak
// settings.
void DescribeControllers(ControlSlot* slots);
// One poll of `control`, as GetKeys gives it to the host.
ButtonState PollController(int32_t control);
// GetKeys itself: the poll, noted for a controller that also answers the state command.
ButtonState PollThroughGetKeys(int32_t control);
// The host's two passes over a command block: the write pass (ControllerCommand) answers identify
// and the pak, the read pass (ReadController) the state. -1 ends a pass.
void ServeCommand(int32_t control, uint8_t* block);
void ServeRead(int32_t control, uint8_t* block);

// Run on each newly built device table: the pad of a controller whose rumble pak the host knows of
// is taken at the exclusive level that force feedback needs, in the background so it still reads
// without focus.
void PrepareRumblePads(DeviceTable& table);
