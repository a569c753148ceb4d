#include "plugin/controller_port.h"

#include "config/xinput_device.h"
#include "input/device_lookup.h"
#include "input/force_feedback_motor.h"
#include "plugin/compose_controller_state.h"
#include "plugin/controller_commands.h"
#include "plugin/plugin_state.h"

#include <bit>

namespace {

PortController* RawController(int32_t control) {
    if (control < 0 || control >= kControllerCount) return nullptr;
    PortController& port = pluginState.port[control];
    return port.raw.load(std::memory_order_relaxed) ? &port : nullptr;
}

// The pad a controller's motor shakes: an XInput pad needs no table.
MotorPad MotorPadOf(const DeviceTable* table, const ControllerConfig& record) {
    if (const int32_t pad = XInputPadOf(record.DIDevice); pad >= 0) return {nullptr, pad};
    const DeviceSlot* slot = ChosenSlot(table, record);
    return slot && slot->kind == DeviceJoystick ? MotorPad{slot->device.Get(), -1} : MotorPad{};
}

// The host learned of the rumble pak at InitiateControllers; the motor runs only while it is still
// the setting, and never during netplay, where the game sees no pak.
bool MotorWanted(int32_t control) {
    return !pluginState.session.InUse() && EffectivePak(pluginState.controllers[control]) == PakRumble;
}

void RunMotor(int32_t control, bool on) {
    if (!MotorWanted(control)) {
        pluginState.motors.Stop(control);
        return;
    }
    const ControllerConfig& record = pluginState.controllers[control];
    const DeviceRead devices(pluginState.devices, pluginState.hostWindow);
    pluginState.motors.Run(control, MotorPadOf(devices.Table(), record), record.RumbleStrength, on);
}

// Costs what a plain controller's state costs its host. During netplay each GetKeys is one
// exchange: a host that also calls GetKeys for this controller has paid it there, one that never
// does pays it here.
ButtonState StateForCommand(int32_t control, const PortController& port) {
    if (pluginState.session.InUse() && port.polledThroughGetKeys.load(std::memory_order_relaxed))
        return std::bit_cast<ButtonState>(port.lastWord.load(std::memory_order_relaxed));
    return PollController(control);
}

}  // namespace

void DescribeControllers(ControlSlot* slots) {
    pluginState.motors.StopAll();  // the host may be told of other paks
    if (!slots) return;
    bool changed = false;
    for (int control = 0; control < kControllerCount; ++control) {
        const ControlSlot slot = ControlSlotForPak(pluginState.controllers[control].Pak);
        changed |= pluginState.port[control].raw.exchange(slot.rawData != 0) != (slot.rawData != 0);
        slots[control] = slot;
    }
    // A pad that now serves a rumble pak, or no longer does, is set up afresh for it.
    if (changed) pluginState.devices.Refresh(pluginState.hostWindow);
}

ButtonState PollController(int32_t control) {
    // Re-entered from one of our own boxes: nothing is ready to read.
    if (pluginState.devices.CreatingOnThisThread()) return ButtonState{};
    const DeviceRead devices(pluginState.devices, pluginState.hostWindow);
    ++pluginState.pollCount;
    ButtonState word{};
    if (control >= 0 && control < kControllerCount) {
        if (!pluginState.session.InUse())
            ComposeControllerState(devices.Table(), pluginState.controllers[control], &word);
        else
            word = pluginState.session.Poll(control, pluginState.pollCount, devices.Table());
    }
    return word;
}

ButtonState PollThroughGetKeys(int32_t control) {
    const ButtonState word = PollController(control);
    if (PortController* port = RawController(control)) {
        port->lastWord.store(std::bit_cast<uint32_t>(word), std::memory_order_relaxed);
        port->polledThroughGetKeys.store(true, std::memory_order_relaxed);
    }
    return word;
}

void ServeCommand(int32_t control, uint8_t* block) {
    if (!RawController(control)) return;  // -1, or a controller the host answers itself
    const InsertedPak pak = pluginState.session.InUse() ? InsertedPak::None : InsertedPak::Rumble;
    const CommandAction action = AnswerCommand(block, pak);
    if (action.kind == CommandAction::Motor) RunMotor(control, action.motorOn);
}

void ServeRead(int32_t control, uint8_t* block) {
    PortController* port = RawController(control);
    if (!port) return;
    // A pak setting changed since, or netplay switched on, stops the motor within a frame.
    if (pluginState.motors.On(control) && !MotorWanted(control)) pluginState.motors.Stop(control);
    if (IsStateCommand(block)) WriteStateReply(block, StateForCommand(control, *port));
}

void PrepareRumblePads(DeviceTable& table) {
    if (!pluginState.hostWindow) return;  // exclusive access needs the host's window
    bool taken[kMaxDevices] = {};
    for (int control = 0; control < kControllerCount; ++control) {
        // Only while the host sends the pak's commands and the pak is still chosen: another
        // program may want the pad for itself otherwise.
        const ControllerConfig& record = pluginState.controllers[control];
        if (!RawController(control) || EffectivePak(record) != PakRumble) continue;
        const DeviceSlot* pad = ChosenSlot(&table, record);
        if (!pad || pad->kind != DeviceJoystick || taken[record.DIDevice]) continue;
        taken[record.DIDevice] = true;
        TakeForForceFeedback(pad->device.Get(), pluginState.hostWindow);
    }
}
