#include "dialog_driver.h"

#include "window_text.h"

#include "watchdog.h"

#include <algorithm>
#include <cstring>

namespace Dialogs {

namespace {
struct Search {
    const char* caption;
    HWND found;
};

BOOL CALLBACK MatchCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (process != GetCurrentProcessId() || std::strcmp(className, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    if (Text(window, 0) == search->caption && !search->found) search->found = window;
    return TRUE;
}


HWND Control(HWND dialog, int id) { return id == 0 ? dialog : GetDlgItem(dialog, id); }
}  // namespace

HWND Find(const char* caption, DWORD timeoutMs) {
    Search search{caption, nullptr};
    WaitUntil(
        [&] {
            EnumWindows(MatchCaption, reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

bool WaitClosed(HWND dialog, DWORD timeoutMs) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, timeoutMs);
}

std::string Text(HWND dialog, int id) { return WindowTextOf(Control(dialog, id)); }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(Control(dialog, id)) != FALSE; }
bool Checked(HWND dialog, int id) { return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED; }

std::vector<ListEntry> Entries(HWND dialog, int id) {
    std::vector<ListEntry> entries;
    const LRESULT count = SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendDlgItemMessageA(dialog, id, CB_GETLBTEXTLEN, i, 0);
        std::vector<char> buffer(length > 0 ? length + 1 : 1);
        SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
        entries.push_back({buffer.data(), static_cast<intptr_t>(SendDlgItemMessageA(dialog, id, CB_GETITEMDATA, i, 0))});
    }
    return entries;
}

std::string Selected(HWND dialog, int id) {
    const LRESULT position = SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0);
    if (position == CB_ERR) return "";
    const std::vector<ListEntry> entries = Entries(dialog, id);
    return position < static_cast<LRESULT>(entries.size()) ? entries[position].text : "";
}

void Click(HWND dialog, int id) { PostMessageA(Control(dialog, id), BM_CLICK, 0, 0); }

void ClickNow(HWND dialog, int id) { SendMessageA(Control(dialog, id), BM_CLICK, 0, 0); }

void Choose(HWND dialog, int id, int position) {
    HWND list = GetDlgItem(dialog, id);
    SendMessageA(list, CB_SETCURSEL, position, 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELENDOK), reinterpret_cast<LPARAM>(list));
}

bool Choose(HWND dialog, int id, const std::string& text) {
    const std::vector<ListEntry> entries = Entries(dialog, id);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].text != text) continue;
        Choose(dialog, id, static_cast<int>(i));
        return true;
    }
    return false;
}

void Cancel(HWND dialog) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); }

bool ChooseFile(HWND dialog, int browseId, const std::string& path) {
    constexpr int kFileNameBox = 0x47C;
    Click(dialog, browseId);
    HWND open = Find("Open");
    if (!open) return false;
    SetDlgItemTextA(open, kFileNameBox, path.c_str());
    PostMessageA(open, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return WaitClosed(open);
}

}  // namespace Dialogs

namespace {
BOOL CALLBACK CancelDialogsOfThread(HWND window, LPARAM) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::strcmp(className, "#32770") == 0) Dialogs::Cancel(window);
    return TRUE;
}
}  // namespace

ModalRun::ModalRun(std::function<void()> call)
    : done_(CreateEventA(nullptr, TRUE, FALSE, nullptr)), thread_([this, call = std::move(call)] {
          threadId_ = GetCurrentThreadId();
          call();
          SetEvent(done_);
      }) {}

ModalRun::~ModalRun() {
    // Every dialog of the call, again and again, until it returns. Messages are pumped meanwhile:
    // a modal dialog that ends enables its owner again, which may be a window of this thread.
    while (!WaitUntil([this] { return WaitForSingleObject(done_, 0) == WAIT_OBJECT_0; }, 50))
        EnumThreadWindows(threadId_, CancelDialogsOfThread, 0);
    thread_.join();
    CloseHandle(done_);
}

bool ModalRun::WaitFinished(DWORD timeoutMs) const {
    return WaitUntil([this] { return WaitForSingleObject(done_, 0) == WAIT_OBJECT_0; }, timeoutMs);
}

DialogCloser::DialogCloser(std::vector<std::string> captions)
    : captions_(std::move(captions)), thread_([this] { Watch(); }) {}

DialogCloser::~DialogCloser() {
    stop_ = true;
    thread_.join();
}

void DialogCloser::Watch() {
    while (!stop_) {
        std::erase_if(seen_, [](HWND dialog) { return !IsWindow(dialog); });
        for (const std::string& caption : captions_) {
            HWND dialog = Dialogs::Find(caption.c_str(), 0);
            if (!dialog) continue;
            if (std::find(seen_.begin(), seen_.end(), dialog) == seen_.end()) {
                seen_.push_back(dialog);
                ++closed_;
            }
            Dialogs::Cancel(dialog);  // again until it is gone
        }
        Sleep(5);
    }
}
