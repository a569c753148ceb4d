#include "input/polled_devices.h"

namespace {

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

}  // namespace

// A reader counts itself before it looks at the state, and a changer leaves Ready before it counts
// the readers (both sequentially consistent): so either the reader sees the change coming and
// takes the lock, or the changer sees the reader and leaves the change to the polls.
const DeviceTable* PolledDevices::BeginRead(HWND window) {
    readers_.fetch_add(1);
    const int state = state_.load();
    if (state == Ready) return &table_;
    readers_.fetch_sub(1);
    if (state == Empty) return nullptr;

    DeviceErrors errors = 0;
    bool readable = false;
    {
        const ExclusiveLock lock(lock_);
        readers_.fetch_add(1);
        ReleaseIfUnread(1);
        errors = BuildIfMissing(window);
        Settle();
        readable = table_.created;
        if (!readable) readers_.fetch_sub(1);
    }
    ShowErrors(errors, window);
    return readable ? &table_ : nullptr;
}

void PolledDevices::Release() {
    const ExclusiveLock lock(lock_);
    state_.store(Changing);
    releaseWanted_ = true;
    ReleaseIfUnread(0);
    Settle();
}

void PolledDevices::Open(HWND window) {
    shownErrors_.store(0);
    DeviceErrors errors = 0;
    {
        const ExclusiveLock lock(lock_);
        state_.store(Changing);
        mayCreate_ = true;
        ReleaseIfUnread(0);
        // No poll reads a table that does not exist, so it may be built here.
        errors = BuildIfMissing(window);
        Settle();
    }
    ShowErrors(errors, window);
}

void PolledDevices::Shutdown(bool processTerminating) {
    state_.store(Empty);
    if (processTerminating)
        AbandonDevices(table_);
    else
        ReleaseDevices(table_);
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
    ReleaseDevices(table_);
    releaseWanted_ = false;
}

DeviceErrors PolledDevices::BuildIfMissing(HWND window) {
    if (table_.created || releaseWanted_ || !mayCreate_) return 0;
    const DeviceErrors errors = CreateDevices(table_, window);
    if (table_.created && prepare_) prepare_(table_);
    if (table_.created) AcquireDevices(table_);
    mayCreate_ = table_.created;  // a failed DirectInput is tried again at the next Open, not every poll
    return errors;
}

void PolledDevices::Settle() {
    if (releaseWanted_) state_.store(Changing);
    else if (table_.created) state_.store(Ready);
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
