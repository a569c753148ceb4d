// Catches every message box the process shows: records caption and text, then dismisses it, so
// that a box can never block a test.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct CaughtBox {
    std::string caption;
    std::string text;
    HWND owner = nullptr;
    bool yesNo = false;  // offers Yes and No rather than OK
};

class MessageBoxCatcher {
public:
    MessageBoxCatcher();
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    std::vector<CaughtBox> Boxes() const;
    std::vector<std::string> Texts() const;
    // Waits (bounded) until at least `count` boxes were caught.
    bool WaitForCount(size_t count, DWORD timeoutMs = 5000) const;
    void Clear();
    // The button that answers Yes/No questions from now on (IDYES or IDNO); OK boxes get IDOK.
    void AnswerQuestionsWith(int button) { questionAnswer_ = button; }
    // Leaves each box up for `ms` before answering it, as a user takes a moment to read it.
    void HoldBoxesFor(DWORD ms) { holdMs_ = ms; }

private:
    void Watch();
    static BOOL CALLBACK Visit(HWND window, LPARAM self);

    mutable std::mutex mutex_;
    std::vector<CaughtBox> boxes_;
    struct Seen {
        HWND box;
        ULONGLONG since;
    };
    std::vector<Seen> dismissed_;
    std::atomic<bool> stop_{false};
    std::atomic<int> questionAnswer_{IDYES};
    std::atomic<DWORD> holdMs_{0};
    std::thread thread_;
};
