#include "netplay/netplay_log_window.h"

#include "framework/dialog.h"
#include "netplay/kaillera_library.h"
#include "resources/resource_ids.h"

#include <mutex>
#include <utility>

constinit NetplayLogWindow netplayLogWindow;

// One window, on its thread's stack for that thread's life.
class NetplayLogWindow::Window final : public Dialog {
public:
    explicit Window(NetplayLogWindow& owner) : Dialog(IDD_NETPLAY_LOG, nullptr), owner_(owner) {}
    size_t textShown = 0;  // of the owner's text; this thread's alone

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code) override;
    // Enter and Escape do nothing: the window only closes when the plug-in ends it.
    void OnOK() override {}
    void OnCancel() override {}
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    NetplayLogWindow& owner_;
};

namespace {
constexpr UINT kUpdateMessage = WM_APP + 1;
constexpr UINT kCloseMessage = WM_APP + 2;
constexpr DWORD kThreadEndWaitMs = 2000;
}  // namespace

bool NetplayLogWindow::Create() {
    std::lock_guard<SlimLock> lock(lock_);
    created_ = true;
    return true;
}

void NetplayLogWindow::Destroy(bool waitForThread) {
    ModuleThread ending;
    HWND window = nullptr;
    {
        std::lock_guard<SlimLock> lock(lock_);
        created_ = false;
        shown_ = false;
        ending = std::exchange(thread_, ModuleThread{});
        window = std::exchange(postTo_, nullptr);
    }
    // A thread still making its window sees created_ cleared and ends by itself.
    if (window) PostMessageA(window, kCloseMessage, 0, 0);
    // The thread holds its own reference on this library, so the wait is a courtesy that lets
    // the host's FreeLibrary unload at once; it never has to end for anything to stay safe.
    if (waitForThread && ending && ending.id != GetCurrentThreadId())
        WaitForSingleObject(ending.handle.Get(), kThreadEndWaitMs);
}

void NetplayLogWindow::RequestUpdate() {
    if (!created_) return;
    if (!thread_) {
        // The new window shows everything when it is made.
        thread_ = StartModuleThread(ThreadMain, this);
        return;
    }
    if (postTo_ && !updatePosted_) updatePosted_ = PostMessageA(postTo_, kUpdateMessage, 0, 0) != FALSE;
}

void NetplayLogWindow::Show() {
    std::lock_guard<SlimLock> lock(lock_);
    if (!created_) return;
    shown_ = true;
    RequestUpdate();
}

void NetplayLogWindow::Hide() {
    std::lock_guard<SlimLock> lock(lock_);
    if (!created_) return;
    shown_ = false;
    RequestUpdate();
}

void NetplayLogWindow::AppendLine(const char* text) {
    if (!text) return;
    std::lock_guard<SlimLock> lock(lock_);
    text_ += text;
    RequestUpdate();
}

DWORD WINAPI NetplayLogWindow::ThreadMain(void* param) {
    auto* self = static_cast<NetplayLogWindow*>(param);
    Window dialog(*self);
    HWND window = dialog.DoModeless();
    if (!window) return 0;
    bool current = false;
    {
        std::lock_guard<SlimLock> lock(self->lock_);
        // Destroy may have come while the window was being made.
        current = self->Current();
        if (current) self->postTo_ = window;
    }
    if (current) self->Update(dialog);
    else DestroyWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Closed here rather than by the dialog, which may already stand for a newer window.
        if (message.message == kCloseMessage && message.hwnd == window) {
            DestroyWindow(window);
            continue;
        }
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return 0;  // the thread's reference on this library goes last, after this returns
}

bool NetplayLogWindow::Window::OnInit() {
    // No limit on the log: a long session's lines must all stay.
    SendDlgItemMessageA(Handle(), IDC_NETPLAY_LOG_TEXT, EM_SETLIMITTEXT, 0, 0);
    Item(IDC_NETPLAY_LOG_TEXT).SetText("");
    textShown = 0;
    return true;
}

void NetplayLogWindow::Update(Window& window) {
    std::string fresh;
    {
        std::lock_guard<SlimLock> lock(lock_);
        if (!Current()) return;  // closing: the rest waits for the next window
        updatePosted_ = false;
        fresh = text_.substr(window.textShown);
        window.textShown = text_.size();
    }
    if (!fresh.empty()) {
        HWND log = GetDlgItem(window.Handle(), IDC_NETPLAY_LOG_TEXT);
        const int length = GetWindowTextLengthA(log);
        SendMessageA(log, EM_SETSEL, length, length);
        SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(fresh.c_str()));
        const LRESULT lines = SendMessageA(log, EM_GETLINECOUNT, 0, 0);
        SendMessageA(log, EM_LINESCROLL, 0, lines);
    }
    const bool show = shown_;
    if ((IsWindowVisible(window.Handle()) != FALSE) != show) ShowWindow(window.Handle(), show ? SW_SHOW : SW_HIDE);
}

bool NetplayLogWindow::Window::OnCommand(int id, int code) {
    if (id == IDC_NETPLAY_CHAT_SEND && code == BN_CLICKED) {
        HWND input = GetDlgItem(Handle(), IDC_NETPLAY_CHAT_INPUT);
        std::string text(static_cast<size_t>(GetWindowTextLengthA(input)) + 1, '\0');
        GetWindowTextA(input, text.data(), static_cast<int>(text.size()));
        CallKailleraChatSend(text.data());  // an empty text is sent too
        SetWindowTextA(input, "");
        return true;
    }
    return false;
}

bool NetplayLogWindow::Window::OnMessage(UINT message, WPARAM, LPARAM, INT_PTR& result) {
    switch (message) {
        case kUpdateMessage:
            owner_.Update(*this);
            result = TRUE;
            return true;
        case WM_DESTROY:
            PostQuitMessage(0);
            return false;
        default:
            return false;
    }
}
