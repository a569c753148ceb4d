// A dialog built from a template of the library's own resources, in the manner of a small
// application framework: virtual initialisation, command dispatch by control id and notification,
// and a handler for any other message. One dialog procedure serves modal and modeless dialogs.
#pragma once

#include "framework/control.h"

#include <windows.h>

class Dialog {
public:
    constexpr Dialog(int templateId, HWND parent) : templateId_(templateId), parent_(parent) {}
    virtual ~Dialog() = default;
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Runs the dialog modally; returns what EndDialog was given, or -1 when it could not be made.
    INT_PTR DoModal();
    // Creates the dialog modeless, owned by the calling thread, whose message loop must pass its
    // messages through IsDialogMessage. Null when it could not be made.
    HWND DoModeless();
    HWND Handle() const { return window_; }

protected:
    // Runs once the controls exist; true lets the system put the focus on the first control.
    virtual bool OnInit() { return true; }
    // `id` is the control, `code` its notification. Returns whether the command was handled.
    virtual bool OnCommand(int id, int code) {
        (void)id;
        (void)code;
        return false;
    }
    // IDOK and IDCANCEL (Enter, Escape, the close box) when OnCommand left them alone.
    virtual void OnOK() { End(IDOK); }
    virtual void OnCancel() { End(IDCANCEL); }
    // Any other message. Returns whether it was handled; `result` is then the procedure's result.
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) {
        (void)message;
        (void)wParam;
        (void)lParam;
        (void)result;
        return false;
    }

    // Ends a modal dialog with `result`; destroys a modeless one.
    void End(INT_PTR result);
    Control Item(int id) const { return Control(GetDlgItem(window_, id)); }
    ComboBox List(int id) const { return ComboBox(GetDlgItem(window_, id)); }

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int templateId_;
    HWND parent_;
    HWND window_ = nullptr;
    bool modal_ = false;
};
