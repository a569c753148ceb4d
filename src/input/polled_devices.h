// The device table the host's polls read, with one owner: this object. A poll only ever reads the
// current table. The first table is built by whoever needs it first, since there is nothing to
// read meanwhile; every later one (after a dialog, for a new game, for a pad plugged in or out) is
// built on a rebuild thread and swapped in by a poll that finds it ready, so no poll waits for an
// enumeration. A table swapped out is released by the rebuild thread once no poll can be reading
// it. A poll takes no lock while nothing has changed; the lock is for the rare paths that change
// something, and no enumeration runs under it but the first build's.
#pragma once

#include "framework/com_ptr.h"
#include "framework/event.h"
#include "framework/slim_lock.h"
#include "input/attached_devices.h"
#include "input/device_table.h"

#include <windows.h>

#include <atomic>

class PolledDevices {
public:
    // Runs on each newly built table, before any poll reads it and while its devices are unacquired.
    using Preparation = void (*)(DeviceTable& table);
    constexpr explicit PolledDevices(Preparation prepare = nullptr) : prepare_(prepare) {}

    // Poll side. Makes the table ready for reading (swapping in a rebuilt one, carrying out a
    // release asked for, building the first one) and returns it, or null when there is none to
    // read. A non-null result is followed by EndRead once the poll is done with it.
    const DeviceTable* BeginRead(HWND window);
    void EndRead() { readers_.fetch_sub(1); }
    // Whether this thread is showing the boxes of a device creation: a box's message loop can run
    // the host's timer, and a poll from there must not build again.
    bool CreatingOnThisThread() const { return creatingThread_.load(std::memory_order_relaxed) == GetCurrentThreadId(); }

    // A game is about to run: every failure may be reported once more and a DirectInput that
    // failed is tried again. The table is built now when there is none; one left from the last
    // game is rebuilt off the polls. While polls come, attached pads are looked at about once a
    // second, and a change rebuilds the table; the look pauses while the polls do.
    void Open(HWND window);
    // The game ended: its table serves until the next game's is built.
    void Close();
    // The devices attached may have changed (a dialog ended): when a table exists, a fresh one is
    // built off the polls against `window`.
    void Refresh(HWND window);
    // The host is about to unload: stops the rebuilds and releases every table, now or, while a
    // poll reads it, at the next poll; a poll after that builds afresh.
    void Release();
    // The library is unloading, so no poll can come any more.
    void Shutdown(bool processTerminating);

    // A dialog's list of the attached devices, from a table of its own built against `window` and
    // released before this returns, so the dialog never holds what the polls read.
    DeviceListing ListAttached(HWND window);

private:
    static constexpr int kNoTable = -1;
    static constexpr int kTableCount = 2;  // the current one, and the one being rebuilt
    enum State : int {
        Changing,  // a poll must take the lock: something is to be swapped, built or released
        Ready,     // the current table may be read
        Empty,     // nothing to read until the next Open (DirectInput could not be created)
    };
    struct Job;
    struct PadWatch;

    // Poll side, under the lock (polled_devices.cpp).
    void ReleaseIfUnread(int ownReaders);
    void SwapIfRebuilt(int ownReaders);
    DeviceErrors BuildIfMissing(HWND window);
    void MakeCurrent(int table);
    void Settle();
    // Shown with no lock held, once the table is complete.
    void ShowErrors(DeviceErrors errors, HWND owner);

    // The rebuild thread (table_rebuilds.cpp).
    void StartRebuilds();  // under the lock
    static DWORD WINAPI RebuildThread(void* self);
    void RunRebuilds();
    Job NextJob(PadWatch& watch, bool tickDue);
    void Rebuild(const Job& job);
    void LookForPads(PadWatch& watch);

    Preparation prepare_;
    DeviceTable tables_[kTableCount];
    SlimLock lock_;
    std::atomic<int> readers_{0};  // polls that may be reading the current table
    std::atomic<int> state_{Changing};
    std::atomic<const DeviceTable*> reading_{nullptr};  // the current table, null when none
    std::atomic<uint32_t> polls_{0};  // tells the rebuild thread whether polls still come
    std::atomic<DWORD> creatingThread_{0};
    std::atomic<DeviceErrors> shownErrors_{0};  // since the last Open
    // Under the lock.
    int current_ = kNoTable;     // the one the polls read
    int rebuilt_ = kNoTable;     // built off the polls, for a poll to swap in
    int retired_ = kNoTable;     // swapped out, for the rebuild thread to release
    int rebuilding_ = kNoTable;  // the rebuild thread's own while it builds or releases it
    uint32_t generation_ = 0;    // a Release makes a rebuild under way useless
    HWND window_ = nullptr;      // what rebuilds set the devices up against
    bool rebuildWanted_ = false;
    bool staleAtOpen_ = false;   // the table outlived its game
    bool gameRunning_ = false;
    bool releaseWanted_ = false;
    bool mayCreate_ = true;      // false after a failed DirectInput
    bool threadRunning_ = false;
    bool lookoutPaused_ = false;  // the polls stopped during a game (paused): the next one resumes it
    bool stopping_ = false;
    AutoResetEvent wake_;         // work for the rebuild thread
    ManualResetEvent stopped_;    // set while no rebuild thread runs
    ComPtr<IDirectInput7A> lookout_;  // the rebuild thread's, for looking at attached pads
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
