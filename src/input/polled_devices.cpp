#include "input/polled_devices.h"

#include <mutex>
#include <utility>

namespace {
// How long an unloading host waits for a rebuild under way (an enumeration, or its boxes).
constexpr DWORD kRebuildStopMs = 3000;
}  // namespace

// A reader counts itself before it looks at the state, and a changer leaves Ready before it counts
// the readers (both sequentially consistent): so either the reader sees the change coming and
// takes the lock, or the changer sees the reader and leaves the change to a later poll.
const DeviceTable* PolledDevices::BeginRead(HWND window) {
    polls_.fetch_add(1, std::memory_order_relaxed);
    readers_.fetch_add(1);
    const int state = state_.load();
    if (state == Ready) return reading_.load();
    readers_.fetch_sub(1);
    if (state == Empty) return nullptr;

    DeviceErrors errors = 0;
    const DeviceTable* table = nullptr;
    {
        const std::lock_guard lock(lock_);
        readers_.fetch_add(1);
        ReleaseIfUnread(1);
        SwapIfRebuilt(1);
        if (std::exchange(lookoutPaused_, false) && gameRunning_) StartRebuilds();
        errors = BuildIfMissing(window);
        Settle();
        table = reading_.load();
        if (!table) readers_.fetch_sub(1);
    }
    ShowErrors(errors, window);
    return table;
}

void PolledDevices::Open(HWND window) {
    shownErrors_.store(0);
    DeviceErrors errors = 0;
    {
        const std::lock_guard lock(lock_);
        state_.store(Changing);
        mayCreate_ = true;
        window_ = window;
        gameRunning_ = true;
        lookoutPaused_ = false;
        ReleaseIfUnread(0);
        const bool existed = current_ != kNoTable;
        // No poll reads a table that does not exist, so the first one may be built here.
        errors = BuildIfMissing(window);
        if (existed && staleAtOpen_) rebuildWanted_ = true;
        staleAtOpen_ = false;
        Settle();
        StartRebuilds();
    }
    ShowErrors(errors, window);
}

void PolledDevices::Close() {
    const std::lock_guard lock(lock_);
    gameRunning_ = lookoutPaused_ = false;
    staleAtOpen_ = current_ != kNoTable;
    if (threadRunning_) wake_.Set();
}

void PolledDevices::Refresh(HWND window) {
    const std::lock_guard lock(lock_);
    if (current_ == kNoTable) return;  // the next poll builds one afresh anyway
    window_ = window;
    rebuildWanted_ = true;
    StartRebuilds();
}

void PolledDevices::Release() {
    HANDLE stopped = nullptr;
    {
        const std::lock_guard lock(lock_);
        stopping_ = true;
        gameRunning_ = rebuildWanted_ = staleAtOpen_ = lookoutPaused_ = false;
        ++generation_;
        if (threadRunning_) {
            wake_.Set();
            stopped = stopped_.Handle();
        }
    }
    if (stopped) WaitForSingleObject(stopped, kRebuildStopMs);
    const std::lock_guard lock(lock_);
    state_.store(Changing);
    // No poll reads these; one the rebuild thread still holds is released by it.
    for (int* table : {&rebuilt_, &retired_}) {
        if (*table != kNoTable && *table != rebuilding_) ReleaseDevices(tables_[*table]);
        *table = kNoTable;
    }
    releaseWanted_ = true;
    ReleaseIfUnread(0);
    Settle();
}

void PolledDevices::Shutdown(bool processTerminating) {
    state_.store(Empty);
    reading_.store(nullptr);
    // No rebuild thread runs: it holds the library loaded while it does.
    for (DeviceTable& table : tables_) {
        if (processTerminating)
            AbandonDevices(table);
        else
            ReleaseDevices(table);
    }
    if (processTerminating)
        lookout_.Detach();
    else
        lookout_.Reset();
}

DeviceListing PolledDevices::ListAttached(HWND window) {
    DeviceTable own;
    const DeviceErrors errors = CreateDevices(own, window);
    const DeviceListing listing = ListDevices(own);
    ReleaseDevices(own);
    ShowErrors(errors, window);
    return listing;
}

void PolledDevices::ReleaseIfUnread(int ownReaders) {
    if (!releaseWanted_ || readers_.load() != ownReaders) return;
    if (current_ != kNoTable) ReleaseDevices(tables_[current_]);
    MakeCurrent(kNoTable);
    releaseWanted_ = false;
}

void PolledDevices::SwapIfRebuilt(int ownReaders) {
    if (rebuilt_ == kNoTable || releaseWanted_ || readers_.load() != ownReaders) return;
    retired_ = current_;
    MakeCurrent(rebuilt_);
    rebuilt_ = kNoTable;
    if (retired_ != kNoTable) wake_.Set();  // for the rebuild thread to release
}

DeviceErrors PolledDevices::BuildIfMissing(HWND window) {
    if (current_ != kNoTable || releaseWanted_ || !mayCreate_) return 0;
    int free = 0;
    while (free == rebuilding_ || free == rebuilt_ || free == retired_) ++free;
    if (free >= kTableCount) return 0;  // cannot happen: without a current table at most one is taken
    DeviceTable& table = tables_[free];
    ReleaseDevices(table);
    const DeviceErrors errors = CreateDevices(table, window);
    if (table.created) {
        if (prepare_) prepare_(table);
        AcquireDevices(table);
        MakeCurrent(free);
    }
    mayCreate_ = table.created;  // a failed DirectInput is tried again at the next Open, not every poll
    return errors;
}

void PolledDevices::MakeCurrent(int table) {
    current_ = table;
    reading_.store(table == kNoTable ? nullptr : &tables_[table]);
}

void PolledDevices::Settle() {
    if (releaseWanted_ || rebuilt_ != kNoTable || lookoutPaused_) state_.store(Changing);
    else if (current_ != kNoTable) state_.store(Ready);
    else state_.store(mayCreate_ ? Changing : Empty);
}

void PolledDevices::ShowErrors(DeviceErrors errors, HWND owner) {
    if (!errors) return;
    // Only one thread's boxes are marked at a time; that is the one a host timer can re-enter.
    DWORD none = 0;
    const bool marked = creatingThread_.compare_exchange_strong(none, GetCurrentThreadId());
    ShowDeviceErrors(errors, owner, shownErrors_);
    if (marked) creatingThread_.store(0);
}
