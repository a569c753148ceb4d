// Thin views of a dialog's controls: they own nothing, the dialog destroys its controls itself.
#pragma once

#include <windows.h>

#include <cstdint>

class Control {
public:
    explicit Control(HWND window = nullptr) : window_(window) {}
    HWND Handle() const { return window_; }
    void Enable(bool enabled) const { EnableWindow(window_, enabled ? TRUE : FALSE); }
    void SetText(const char* text) const { SetWindowTextA(window_, text); }
    bool Checked() const { return SendMessageA(window_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void SetChecked(bool checked) const {
        SendMessageA(window_, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }

protected:
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendMessageA(window_, message, wParam, lParam);
    }

private:
    HWND window_;
};

// A drop-down list whose entries carry item values.
class ComboBox : public Control {
public:
    using Control::Control;
    // Adds at the end; returns the new entry's position.
    int Add(const char* text, intptr_t value) const {
        const int position = static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
        if (position >= 0) Send(CB_SETITEMDATA, position, value);
        return position;
    }
    // The selected position, or -1 when nothing is selected.
    int Selection() const {
        const LRESULT position = Send(CB_GETCURSEL);
        return position == CB_ERR ? -1 : static_cast<int>(position);
    }
    // Selects `position`; one outside the list clears the selection.
    void Select(int position) const { Send(CB_SETCURSEL, static_cast<WPARAM>(position)); }
    intptr_t Value(int position) const { return Send(CB_GETITEMDATA, static_cast<WPARAM>(position)); }
    // The first entry after `after` whose text begins with `prefix`, ignoring case, or -1.
    int FindPrefix(const char* prefix, int after = -1) const {
        const LRESULT position = Send(CB_FINDSTRING, static_cast<WPARAM>(after), reinterpret_cast<LPARAM>(prefix));
        return position == CB_ERR ? -1 : static_cast<int>(position);
    }
    // The first entry carrying `value`, or -1.
    int FindValue(intptr_t value) const {
        const int count = static_cast<int>(Send(CB_GETCOUNT));
        for (int position = 0; position < count; ++position)
            if (Value(position) == value) return position;
        return -1;
    }
    void SelectPrefix(const char* prefix) const { Send(CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix)); }
};
