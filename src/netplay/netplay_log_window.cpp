#include "netplay/netplay_log_window.h"

#include "framework/application.h"
#include "netplay/kaillera_library.h"
#include "resources/resource_ids.h"

#include <cstring>
#include <string>

constinit NetplayLogWindow netplayLogWindow;

namespace {
constexpr UINT kAppendMessage = WM_APP + 1;  // lParam: a heap copy of the text, freed by the window
constexpr UINT kShowMessage = WM_APP + 2;    // wParam: SW_SHOW or SW_HIDE
constexpr UINT kCloseMessage = WM_APP + 3;
constexpr DWORD kThreadStartWaitMs = 5000;
constexpr DWORD kThreadEndWaitMs = 2000;

void AppendToLog(HWND window, const char* text) {
    HWND log = GetDlgItem(window, IDC_NETPLAY_LOG_TEXT);
    const int length = GetWindowTextLengthA(log);
    SendMessageA(log, EM_SETSEL, length, length);
    SendMessageA(log, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text));
    const LRESULT lines = SendMessageA(log, EM_GETLINECOUNT, 0, 0);
    SendMessageA(log, EM_LINESCROLL, 0, lines);
}

void SendChat(HWND window) {
    HWND input = GetDlgItem(window, IDC_NETPLAY_CHAT_INPUT);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(input)) + 1, '\0');
    GetWindowTextA(input, text.data(), static_cast<int>(text.size()));
    CallKailleraChatSend(text.data());  // an empty text is sent too
    SetWindowTextA(input, "");
}
}  // namespace

bool NetplayLogWindow::Create() {
    if (created_) return true;
    ready_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    parked_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    created_ = ready_ && parked_;
    return created_;
}

HWND NetplayLogWindow::WaitForWindow() {
    if (!created_) return nullptr;
    // The thread and its window are made on first use rather than at start-up: start-up runs under
    // the loader lock, where a new thread cannot even begin, and hosts that load every plug-in
    // just to list their names would pay for a window that is never used.
    bool expected = false;
    if (threadStarted_.compare_exchange_strong(expected, true)) {
        thread_.Reset(CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr));
        if (!thread_) SetEvent(ready_.Get());
    }
    WaitForSingleObject(ready_.Get(), kThreadStartWaitMs);
    return window_;
}

DWORD WINAPI NetplayLogWindow::ThreadMain(void* param) {
    auto* self = static_cast<NetplayLogWindow*>(param);
    HWND window = CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(IDD_NETPLAY_LOG), nullptr, DialogProc,
                                     reinterpret_cast<LPARAM>(self));
    self->window_ = window;
    SetEvent(self->ready_.Get());
    MSG message;
    while (window && GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageA(window, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    // Park here for good: Destroy ends this thread from under the loader lock, where the thread
    // could not run its own exit; parked, it runs none of this library's code any more.
    SetEvent(self->parked_.Get());
    for (;;) Sleep(INFINITE);
}

INT_PTR CALLBACK NetplayLogWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            // No limit on the log: a long session's lines must all stay.
            SendDlgItemMessageA(window, IDC_NETPLAY_LOG_TEXT, EM_SETLIMITTEXT, 0, 0);
            SetDlgItemTextA(window, IDC_NETPLAY_LOG_TEXT, "");
            return TRUE;
        case kAppendMessage: {
            char* text = reinterpret_cast<char*>(lParam);
            AppendToLog(window, text);
            delete[] text;
            return TRUE;
        }
        case kShowMessage:
            ShowWindow(window, static_cast<int>(wParam));
            return TRUE;
        case kCloseMessage: {
            // Lines still queued would never be shown; free their copies.
            MSG pending;
            while (PeekMessageA(&pending, window, kAppendMessage, kAppendMessage, PM_REMOVE))
                delete[] reinterpret_cast<char*>(pending.lParam);
            DestroyWindow(window);
            return TRUE;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return FALSE;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_NETPLAY_CHAT_SEND && HIWORD(wParam) == BN_CLICKED) SendChat(window);
            return TRUE;  // Enter and Escape do nothing: the window only closes at shut-down
        default:
            return FALSE;
    }
}

void NetplayLogWindow::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    if (HWND window = WaitForWindow()) PostMessageA(window, message, wParam, lParam);
}

void NetplayLogWindow::Show() {
    if (!created_) return;
    shown_ = true;
    Post(kShowMessage, SW_SHOW, 0);
}

void NetplayLogWindow::Hide() {
    if (!created_) return;
    shown_ = false;
    Post(kShowMessage, SW_HIDE, 0);
}

void NetplayLogWindow::AppendLine(const char* text) {
    HWND window = WaitForWindow();
    if (!window || !text) return;
    const size_t size = std::strlen(text) + 1;
    char* copy = new char[size];
    std::memcpy(copy, text, size);
    if (!PostMessageA(window, kAppendMessage, 0, reinterpret_cast<LPARAM>(copy))) delete[] copy;
}

void NetplayLogWindow::Destroy(bool processTerminating) {
    if (!created_) return;
    created_ = false;
    shown_ = false;
    const bool started = threadStarted_.exchange(false);
    if (processTerminating || !started || !thread_) {
        // Never started, or gone already with the process's other threads: nothing to end.
        thread_.Detach();
        window_ = nullptr;
        return;
    }
    // Bounded waits: under the loader lock a thread that has not started yet cannot start at all,
    // and is then ended before it runs any of our code.
    if (WaitForSingleObject(ready_.Get(), kThreadEndWaitMs) == WAIT_OBJECT_0) {
        if (HWND window = window_.exchange(nullptr)) PostMessageA(window, kCloseMessage, 0, 0);
        WaitForSingleObject(parked_.Get(), kThreadEndWaitMs);
    }
    TerminateThread(thread_.Get(), 0);
    thread_.Reset();
    window_ = nullptr;
}
