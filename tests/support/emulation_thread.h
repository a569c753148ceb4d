// An emulator's emulation thread: it polls the four controllers about 60 times a second, as a
// running game does, while the test thread plays the host's window thread.
#pragma once

#include "plugin_api.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class EmulationThread {
public:
    // With `rawChannel` 0..3, that controller (one given a rumble pak) is also read as a game reads
    // it through the emulator's controller port: each frame its state command and one command of
    // the game's rumble pak detection, then the motor at the level SetMotor gives, in the
    // emulators' order of passes.
    explicit EmulationThread(const PluginApi& plugin, int rawChannel = -1);
    ~EmulationThread();
    EmulationThread(const EmulationThread&) = delete;
    EmulationThread& operator=(const EmulationThread&) = delete;

    // Ends the polling. False when the thread did not come back in time; it is then left running,
    // and the test has failed.
    bool Stop(DWORD timeoutMs = 5000);
    uint64_t Frames() const { return frames_.load(); }
    DWORD ThreadId() const { return threadId_; }
    // Waits for `count` more frames without pumping messages, as a window thread that waits on its
    // emulation thread does. False when they did not come in time.
    bool WaitFrames(uint64_t count, DWORD timeoutMs = 5000) const;
    // The longest single GetKeys so far: a box the poll waited on, or a stall.
    DWORD LongestPollMs() const { return static_cast<DWORD>(longestPollUs_.load() / 1000); }
    uint64_t LongestPollMicroseconds() const { return longestPollUs_.load(); }
    // The last word polled for controller `controller`.
    ButtonState Last(int controller) const;
    // The game's motor level from the next frame on: "on" once a frame, "off" four times.
    void SetMotor(bool on) { motorOn_ = on; }
    // Replies of the raw channel that were not a rumble pak's, or a state unlike GetKeys's word.
    int WrongReplies() const { return wrongReplies_.load(); }

private:
    static DWORD WINAPI Run(void* self);
    void ServeRawChannel();

    PluginApi::GetKeys_t getKeys_;
    PluginApi::Command_t controllerCommand_, readController_;
    int rawChannel_;
    std::atomic<bool> motorOn_{false};
    std::atomic<int> wrongReplies_{0};
    std::atomic<bool> stop_{false};
    std::atomic<uint64_t> frames_{0};
    std::atomic<uint64_t> longestPollUs_{0};
    std::atomic<uint32_t> last_[4]{};
    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
};

struct DialogRounds {
    int openedWhilePolling = 0;  // dialogs during which at least one frame was polled
    int closed = 0;              // dialogs the user closed
};
// The host's window thread: opens Configure then Test `rounds` times each while `emulation` polls,
// a user closing each one.
DialogRounds OpenConfigureAndTestWhilePolling(const PluginApi& plugin, HWND window, const EmulationThread& emulation,
                                              int rounds);
