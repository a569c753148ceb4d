#include "framework/dialog.h"

#include "framework/application.h"

INT_PTR Dialog::DoModal() {
    modal_ = true;
    return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent_, Procedure,
                           reinterpret_cast<LPARAM>(this));
}

HWND Dialog::DoModeless() {
    modal_ = false;
    return CreateDialogParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent_, Procedure,
                              reinterpret_cast<LPARAM>(this));
}

void Dialog::End(INT_PTR result) {
    if (modal_) EndDialog(window_, result);
    else DestroyWindow(window_);
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<Dialog*>(lParam);
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->window_ = window;
        return self->OnInit() ? TRUE : FALSE;
    }
    auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (!self) return FALSE;  // messages that come before WM_INITDIALOG
    if (message == WM_NCDESTROY) {
        // The last message: the object may outlive its window (or be reused for another one).
        SetWindowLongPtrA(window, DWLP_USER, 0);
        if (self->window_ == window) self->window_ = nullptr;
        return FALSE;
    }
    if (message != WM_COMMAND) {
        INT_PTR result = FALSE;
        return self->OnMessage(message, wParam, lParam, result) ? result : FALSE;
    }

    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (self->OnCommand(id, code)) return TRUE;
    if (id == IDOK && (code == BN_CLICKED)) {
        self->OnOK();
        return TRUE;
    }
    if (id == IDCANCEL && (code == BN_CLICKED)) {
        self->OnCancel();
        return TRUE;
    }
    return FALSE;
}
