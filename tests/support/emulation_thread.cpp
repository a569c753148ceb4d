#include "emulation_thread.h"

#include "dialog_driver.h"
#include "joybus_host.h"

#include <cstring>
#include <vector>

namespace {
constexpr DWORD kFrameMs = 16;
}  // namespace

EmulationThread::EmulationThread(const PluginApi& plugin, int rawChannel)
    : getKeys_(plugin.GetKeys),
      controllerCommand_(plugin.ControllerCommand),
      readController_(plugin.ReadController),
      rawChannel_(rawChannel) {
    thread_ = CreateThread(nullptr, 0, Run, this, 0, &threadId_);
}

EmulationThread::~EmulationThread() { Stop(); }

bool EmulationThread::Stop(DWORD timeoutMs) {
    if (!thread_) return true;
    stop_ = true;
    if (WaitForSingleObject(thread_, timeoutMs) != WAIT_OBJECT_0) return false;
    CloseHandle(thread_);
    thread_ = nullptr;
    return true;
}

DWORD WINAPI EmulationThread::Run(void* param) {
    auto* self = static_cast<EmulationThread*>(param);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    while (!self->stop_) {
        for (int controller = 0; controller < 4; ++controller) {
            ButtonState word{};
            LARGE_INTEGER start, end;
            QueryPerformanceCounter(&start);
            self->getKeys_(controller, &word);
            QueryPerformanceCounter(&end);
            const uint64_t took = static_cast<uint64_t>(end.QuadPart - start.QuadPart) * 1000000 / frequency.QuadPart;
            if (took > self->longestPollUs_) self->longestPollUs_ = took;
            uint32_t bits = 0;
            std::memcpy(&bits, &word, sizeof bits);
            self->last_[controller] = bits;
        }
        if (self->rawChannel_ >= 0) self->ServeRawChannel();
        ++self->frames_;
        Sleep(kFrameMs);
    }
    return 0;
}

void EmulationThread::ServeRawChannel() {
    const bool on = motorOn_;
    const uint64_t step = frames_ % 3;  // one command of a game's detection each frame, in turn
    JoybusBlock state = JoybusBlock::State();
    JoybusBlock detection = step == 0   ? JoybusBlock::Identify()
                            : step == 1 ? JoybusBlock::PakWrite(kProbeAddress, 0x80)
                                        : JoybusBlock::PakRead(kProbeAddress);
    std::vector<JoybusBlock> blocks{state, detection};
    blocks.insert(blocks.end(), on ? 1 : 4, JoybusBlock::PakWrite(kMotorAddress, on ? 1 : 0));
    // Write pass, its end, read pass, its end: the emulators' order.
    for (JoybusBlock& block : blocks) controllerCommand_(rawChannel_, block.Data());
    controllerCommand_(-1, nullptr);
    for (JoybusBlock& block : blocks) readController_(rawChannel_, block.Data());
    readController_(-1, nullptr);

    const uint32_t word = last_[rawChannel_];
    bool right = std::memcmp(blocks[0].Data() + 3, &word, sizeof word) == 0;
    const JoybusBlock& answer = blocks[1];
    if (step == 0) right &= answer.bytes[3] == 0x05 && answer.bytes[4] == 0x00 && answer.bytes[5] == 0x01;
    if (step == 1) right &= answer.PakChecksum() == 0xB8;
    if (step == 2) right &= answer.bytes[5] == 0x80 && answer.bytes[36] == 0x80 && answer.PakChecksum() == 0xB8;
    for (size_t i = 2; i < blocks.size(); ++i) right &= blocks[i].PakChecksum() == (on ? 0xEB : 0x00);
    if (!right) ++wrongReplies_;
}

bool EmulationThread::WaitFrames(uint64_t count, DWORD timeoutMs) const {
    const uint64_t target = frames_ + count;
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (frames_ < target) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(5);
    }
    return true;
}

ButtonState EmulationThread::Last(int controller) const {
    const uint32_t bits = last_[controller];
    ButtonState word;
    std::memcpy(&word, &bits, sizeof word);
    return word;
}

DialogRounds OpenConfigureAndTestWhilePolling(const PluginApi& plugin, HWND window, const EmulationThread& emulation,
                                              int rounds) {
    DialogRounds result;
    DialogCloser user({"Tavik_Di Plugin Configuration", "Tavik_Di - Test dialog"});
    for (int round = 0; round < rounds; ++round) {
        for (PluginApi::WithWindow_t dialog : {plugin.DllConfig, plugin.DllTest}) {
            const uint64_t before = emulation.Frames();
            dialog(window);
            if (emulation.Frames() > before) ++result.openedWhilePolling;
        }
    }
    result.closed = user.Closed();
    return result;
}
