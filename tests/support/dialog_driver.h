// Drives the plug-in's dialogs from the test thread: a modal entry point runs on a thread of its
// own, its dialogs are found by caption, read and acted on by control id.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace Dialogs {
// The visible dialog of this process with `caption`, waiting for it to appear; null if none came.
HWND Find(const char* caption, DWORD timeoutMs = 5000);
bool WaitClosed(HWND dialog, DWORD timeoutMs = 5000);

// Read without sending a message, so it answers even while the dialog's thread is busy.
std::string Text(HWND dialog, int id);
bool Enabled(HWND dialog, int id);
bool Checked(HWND dialog, int id);

struct ListEntry {
    std::string text;
    intptr_t value;
    bool operator==(const ListEntry&) const = default;
};
std::vector<ListEntry> Entries(HWND dialog, int id);
// The selected entry's text, or "" when nothing is selected.
std::string Selected(HWND dialog, int id);

// A click, posted: it may open a nested modal dialog or start a capture.
void Click(HWND dialog, int id);
// A click that returns once handled: for buttons that neither capture nor open a dialog.
void ClickNow(HWND dialog, int id);
// Selects the entry at `position` and confirms it as the user would.
void Choose(HWND dialog, int id, int position);
// The same by the entry's exact text; false if the list has no such entry.
bool Choose(HWND dialog, int id, const std::string& text);
// Escape / the close box.
void Cancel(HWND dialog);
// Clicks `browseId`, which opens the standard open-file dialog, and confirms `path` there.
bool ChooseFile(HWND dialog, int browseId, const std::string& path);
}  // namespace Dialogs

// A blocking call (DllConfig, DllTest, DllAbout) on a thread of its own. Whatever the test left
// open is cancelled before the thread is joined, so a failed test still ends the call.
class ModalRun {
public:
    explicit ModalRun(std::function<void()> call);
    ~ModalRun();
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

    bool WaitFinished(DWORD timeoutMs = 5000) const;

private:
    HANDLE done_;
    std::atomic<DWORD> threadId_{0};
    std::thread thread_;
};

// The user of a host whose window thread runs the dialogs itself: from a thread of its own, closes
// each dialog with one of `captions` as soon as it is up, and counts them.
class DialogCloser {
public:
    explicit DialogCloser(std::vector<std::string> captions);
    ~DialogCloser();
    DialogCloser(const DialogCloser&) = delete;
    DialogCloser& operator=(const DialogCloser&) = delete;

    int Closed() const { return closed_; }

private:
    void Watch();

    std::vector<std::string> captions_;
    std::vector<HWND> seen_;
    std::atomic<int> closed_{0};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};
