#include "framework/dialog.h"

#include "framework/application.h"

INT_PTR Dialog::DoModal() {
    return DialogBoxParamA(ModuleInstance(), MAKEINTRESOURCEA(templateId_), parent_, Procedure,
                           reinterpret_cast<LPARAM>(this));
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
    if (message != WM_COMMAND) return FALSE;

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
