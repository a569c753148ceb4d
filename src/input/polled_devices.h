// The device table the host's polls read, with one owner: the polling side builds, reads and
// releases it. Other threads (the host's window thread closing a ROM, a dialog that ends) only
// ask: a release is carried out at once when no poll is reading the table, else by the next poll.
// A poll takes no lock while nothing has changed; the lock is for the rare paths that change it.
#pragma once

#include "input/device_table.h"

#include <windows.h>

#include <atomic>

class PolledDevices {
public:
    // Runs on each newly built table, before any poll reads it and while its devices are unacquired.
    using Preparation = void (*)(DeviceTable& table);
    constexpr explicit PolledDevices(Preparation prepare = nullptr) : prepare_(prepare) {}

    // Poll side. Makes the table ready for reading (carrying out a release asked for, building it
    // when missing) and returns it, or null when there is none to read. A non-null result is
    // followed by EndRead once the poll is done with it.
    const DeviceTable* BeginRead(HWND window);
    void EndRead() { readers_.fetch_sub(1); }
    // Whether this thread is showing the boxes of a device creation: a box's message loop can run
    // the host's timer, and a poll from there must not build again.
    bool CreatingOnThisThread() const { return creatingThread_.load(std::memory_order_relaxed) == GetCurrentThreadId(); }

    // Any thread. The next poll builds the table afresh.
    void Release();
    // A game is about to run: every failure may be reported once more and a DirectInput that
    // failed is tried again; the table is built now unless it exists.
    void Open(HWND window);
    // The library is unloading, so no poll can come any more.
    void Shutdown(bool processTerminating);

    // A dialog's list of the attached devices, from a table of its own built against `window` and
    // released before this returns, so the dialog never holds what the polls read.
    DeviceListing ListAttached(HWND window);

private:
    enum State : int {
        Changing,  // a poll must take the lock: something is to be built or released
        Ready,     // the table may be read
        Empty,     // nothing to read until the next Open (DirectInput could not be created)
    };
    // Under the lock.
    void ReleaseIfUnread(int ownReaders);
    DeviceErrors BuildIfMissing(HWND window);
    void Settle();
    // Shown with no lock held, once the table is complete.
    void ShowErrors(DeviceErrors errors, HWND owner);

    Preparation prepare_;
    DeviceTable table_;
    SRWLOCK lock_ = SRWLOCK_INIT;
    std::atomic<int> readers_{0};  // polls that may be reading the table
    std::atomic<int> state_{Changing};
    std::atomic<DWORD> creatingThread_{0};
    std::atomic<DeviceErrors> shownErrors_{0};  // since the last Open
    bool releaseWanted_ = false;                // under the lock
    bool mayCreate_ = true;                     // under the lock; false after a failed DirectInput
};

// One poll's hold on the table.
class DeviceRead {
public:
    DeviceRead(PolledDevices& devices, HWND window) : devices_(devices), table_(devices.BeginRead(window)) {}
    ~DeviceRead() {
        if (table_) devices_.EndRead();
    }
    DeviceRead(const DeviceRead&) = delete;
    DeviceRead& operator=(const DeviceRead&) = delete;
    const DeviceTable* Table() const { return table_; }

private:
    PolledDevices& devices_;
    const DeviceTable* table_;
};
