// The rebuild thread of PolledDevices: builds the tables that replace the current one, releases the
// ones swapped out, and while a game is polled looks about once a second for pads plugged in or
// out. It holds the library loaded while it runs, so it ends as soon as it has nothing to do: when
// no game runs, or when the polls stopped coming (a paused game, whose next poll starts it again,
// or a host that unloads without closing first).
#include "framework/application.h"
#include "framework/module_thread.h"
#include "input/polled_devices.h"

#include <mutex>

namespace {
constexpr ULONGLONG kPadLookMs = 1000;
}  // namespace

struct PolledDevices::Job {
    enum Kind { End, Wait, ReleaseRetired, Rebuild, LookForPads } kind;
    int table = kNoTable;
    HWND window = nullptr;
    uint32_t generation = 0;
};

// What the pad lookout knows between two looks.
struct PolledDevices::PadWatch {
    ULONGLONG nextLook = GetTickCount64() + kPadLookMs;
    uint32_t pollsAtLastLook = 0;
    bool pollsSeen = true;
    bool known = false;  // false until a first look: then the table's own pads are what it compares with
    AttachedJoysticks lastSeen;
};

void PolledDevices::StartRebuilds() {
    if (!wake_ && !(wake_.Create(nullptr, false) && stopped_.Create(nullptr, true))) return;
    if (threadRunning_) {
        wake_.Set();
        return;
    }
    stopping_ = false;
    stopped_.Reset();
    // The thread's handle is not kept: Release waits for `stopped_`, which needs no handle.
    if (!StartModuleThread(RebuildThread, this)) {
        stopped_.Set();  // rebuilds wait for the next request
        return;
    }
    threadRunning_ = true;
}

DWORD WINAPI PolledDevices::RebuildThread(void* self) {
    static_cast<PolledDevices*>(self)->RunRebuilds();
    return 0;
}

void PolledDevices::RunRebuilds() {
    PadWatch watch;
    for (;;) {
        const ULONGLONG now = GetTickCount64();
        const bool tickDue = now >= watch.nextLook;
        if (tickDue) watch.nextLook = now + kPadLookMs;
        const Job job = NextJob(watch, tickDue);
        switch (job.kind) {
            case Job::End: return;
            case Job::Wait: WaitForSingleObject(wake_.Handle(), static_cast<DWORD>(watch.nextLook - now)); break;
            case Job::ReleaseRetired: {
                ReleaseDevices(tables_[job.table]);
                const std::lock_guard lock(lock_);
                rebuilding_ = kNoTable;
                break;
            }
            case Job::Rebuild: Rebuild(job); break;
            case Job::LookForPads: LookForPads(watch); break;
        }
    }
}

PolledDevices::Job PolledDevices::NextJob(PadWatch& watch, bool tickDue) {
    const std::lock_guard lock(lock_);
    if (tickDue) {
        const uint32_t polls = polls_.load(std::memory_order_relaxed);
        watch.pollsSeen = polls != watch.pollsAtLastLook;
        watch.pollsAtLastLook = polls;
    }
    const bool watching = gameRunning_ && watch.pollsSeen && current_ != kNoTable;
    if (stopping_ || (!watching && !rebuildWanted_ && retired_ == kNoTable)) {
        if (!stopping_ && gameRunning_ && !watch.pollsSeen) {
            lookoutPaused_ = true;
            Settle();
        }
        lookout_.Reset();
        threadRunning_ = false;
        stopped_.Set();
        return {Job::End};
    }
    if (retired_ != kNoTable) {
        rebuilding_ = std::exchange(retired_, kNoTable);
        return {Job::ReleaseRetired, rebuilding_};
    }
    if (rebuildWanted_) {
        rebuildWanted_ = false;
        if (current_ != kNoTable) {
            rebuilding_ = current_ == 0 ? 1 : 0;
            if (rebuilt_ == rebuilding_) rebuilt_ = kNoTable;  // superseded before any poll took it
            Settle();
            return {Job::Rebuild, rebuilding_, window_, generation_};
        }
    }
    return {tickDue && watching ? Job::LookForPads : Job::Wait};
}

void PolledDevices::Rebuild(const Job& job) {
    DeviceTable& table = tables_[job.table];
    ReleaseDevices(table);
    const DeviceErrors errors = CreateDevices(table, job.window);
    if (table.created) {
        if (prepare_) prepare_(table);
        AcquireDevices(table);
    }
    bool wanted = false, published = false;
    {
        const std::lock_guard lock(lock_);
        wanted = job.generation == generation_;  // no Release came meanwhile
        // A failed DirectInput leaves the polls the table they have.
        published = wanted && table.created;
        if (published) {
            rebuilt_ = job.table;
            rebuilding_ = kNoTable;
            Settle();
        }
    }
    if (!published) {
        ReleaseDevices(table);
        const std::lock_guard lock(lock_);
        rebuilding_ = kNoTable;
    }
    if (wanted) ShowErrors(errors, job.window);
}

void PolledDevices::LookForPads(PadWatch& watch) {
    if (!lookout_ && (FAILED(DirectInputCreateEx(ModuleInstance(), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                                                 lookout_.PutVoid(), nullptr)) ||
                      !lookout_)) {
        lookout_.Reset();
        return;
    }
    AttachedJoysticks now;
    if (!ReadAttachedJoysticks(lookout_.Get(), now)) return;
    const std::lock_guard lock(lock_);
    // The first look compares with the table, which leaves out a pad that failed its set-up: that
    // costs one rebuild, after which the pads seen are what counts.
    const bool changed = watch.known ? !(now == watch.lastSeen)
                                     : current_ != kNoTable && !(now == JoysticksOf(tables_[current_]));
    watch.lastSeen = now;
    watch.known = true;
    if (changed) rebuildWanted_ = true;
}
