#include "message_box_catcher.h"

#include "window_text.h"

#include <algorithm>

namespace {
constexpr int kMessageTextId = 0xFFFF;  // the static control that holds a message box's text
}  // namespace

MessageBoxCatcher::MessageBoxCatcher() : thread_([this] { Watch(); }) {}

MessageBoxCatcher::~MessageBoxCatcher() {
    stop_ = true;
    thread_.join();
}

void MessageBoxCatcher::Watch() {
    while (!stop_) {
        EnumWindows(Visit, reinterpret_cast<LPARAM>(this));
        {
            // Window handles are reused: forget the boxes that are gone so a new one is recorded.
            std::lock_guard lock(mutex_);
            std::erase_if(dismissed_, [](const Seen& seen) { return !IsWindow(seen.box); });
        }
        Sleep(5);
    }
}

BOOL CALLBACK MessageBoxCatcher::Visit(HWND window, LPARAM selfParam) {
    auto* self = reinterpret_cast<MessageBoxCatcher*>(selfParam);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != GetCurrentProcessId()) return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770") return TRUE;
    HWND textControl = GetDlgItem(window, kMessageTextId);
    if (!textControl || !IsWindowVisible(window)) return TRUE;  // dialogs are not ours to close

    const bool yesNo = GetDlgItem(window, IDYES) && GetDlgItem(window, IDNO);
    std::lock_guard lock(self->mutex_);
    auto seen = std::find_if(self->dismissed_.begin(), self->dismissed_.end(),
                             [window](const Seen& s) { return s.box == window; });
    if (seen == self->dismissed_.end()) {
        self->boxes_.push_back({WindowTextOf(window), WindowTextOf(textControl), GetWindow(window, GW_OWNER), yesNo});
        seen = self->dismissed_.insert(self->dismissed_.end(), Seen{window, GetTickCount64()});
    }
    if (GetTickCount64() - seen->since < self->holdMs_) return TRUE;
    // Posted, not sent: the box's thread answers when it can; we keep posting until it is gone.
    const int answer = yesNo ? self->questionAnswer_.load() : IDOK;
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED), 0);
    return TRUE;
}

std::vector<CaughtBox> MessageBoxCatcher::Boxes() const {
    std::lock_guard lock(mutex_);
    return boxes_;
}

std::vector<std::string> MessageBoxCatcher::Texts() const {
    std::vector<std::string> texts;
    for (const CaughtBox& box : Boxes()) texts.push_back(box.text);
    return texts;
}

bool MessageBoxCatcher::WaitForCount(size_t count, DWORD timeoutMs) const {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
        {
            std::lock_guard lock(mutex_);
            if (boxes_.size() >= count) return true;
        }
        Sleep(5);
    }
    return false;
}

void MessageBoxCatcher::Clear() {
    std::lock_guard lock(mutex_);
    boxes_.clear();
}
