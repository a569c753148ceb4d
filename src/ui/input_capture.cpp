#include "ui/input_capture.h"

#include "framework/application.h"
#include "framework/com_ptr.h"
#include "framework/message_box.h"
#include "config/joystick_codes.h"
#include "input/axis_properties.h"
#include "input/direct_input.h"
#include "input/xinput/xinput_gamepad.h"
#include "input/xinput/xinput_library.h"
#include "ui/first_pressed.h"

#include <cstring>

namespace {

struct CaptureSource {
    GUID device;
    const DIDATAFORMAT* format;
    DWORD stateSize;
    bool polled;
    const char* kind;  // ends every error text
};

// The clicked button stays disabled for the whole capture and is enabled again on every way out.
class DisabledDuringCapture {
public:
    DisabledDuringCapture(HWND dialog, int buttonId) : dialog_(dialog), button_(GetDlgItem(dialog, buttonId)) {
        EnableWindow(button_, FALSE);
    }
    ~DisabledDuringCapture() {
        EnableWindow(button_, TRUE);
        // Disabling the focused button left the dialog without a focus, and so without a keyboard.
        if (!GetFocus()) SendMessageA(dialog_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button_), TRUE);
    }
    DisabledDuringCapture(const DisabledDuringCapture&) = delete;
    DisabledDuringCapture& operator=(const DisabledDuringCapture&) = delete;

private:
    HWND dialog_;
    HWND button_;
};

class UnacquireOnExit {
public:
    explicit UnacquireOnExit(IDirectInputDevice7A* device) : device_(device) {}
    ~UnacquireOnExit() { device_->Unacquire(); }
    UnacquireOnExit(const UnacquireOnExit&) = delete;
    UnacquireOnExit& operator=(const UnacquireOnExit&) = delete;

private:
    IDirectInputDevice7A* device_;
};

// The text names the failing call, which is what the user can act on; its result code is not shown.
void ShowCaptureError(HWND owner, const char* text) { OwnedMessageBox(owner, text, "Tavik_Di Error!", MB_OK); }

bool ReportFailure(HWND dialog, HRESULT result, const char* call, const char* kind) {
    if (SUCCEEDED(result)) return false;
    char text[64];
    wsprintfA(text, "%s : %s", call, kind);
    ShowCaptureError(dialog, text);
    return true;
}

constexpr ULONGLONG kReleaseTimeoutMs = 3000;

// A key still held when the capture returns keeps auto-repeating into the dialog, where a held
// Escape or Enter would close it: the capture ends only once the input is let go (bounded, so a
// stuck key cannot hold the dialog for ever).
template <typename Held>
void WaitForRelease(IDirectInputDevice7A* device, const CaptureSource& source, int32_t input, Held held) {
    uint8_t state[256];
    const ULONGLONG deadline = GetTickCount64() + kReleaseTimeoutMs;
    while (GetTickCount64() < deadline) {
        std::memset(state, 0, source.stateSize);
        if (source.polled) device->Poll();
        if (FAILED(device->GetDeviceState(source.stateSize, state)) || !held(state, input)) return;
        Sleep(1);
    }
}

// Reads with `read` until it names an input, or nothing once the capture has waited long enough.
template <typename Read>
std::optional<int32_t> WaitForInput(Read read) {
    const ULONGLONG deadline = GetTickCount64() + kCaptureTimeoutMs;
    for (;;) {
        if (const std::optional<int32_t> input = read()) return input;
        if (GetTickCount64() >= deadline) return std::nullopt;
        Sleep(1);  // a press lasts far longer; no need to hold a whole core while waiting
    }
}

// `prepare(device)` runs once the device is set up; `take(state)` names the input a read shows, if
// any; `held(state, input)` tells whether that input is still down.
template <typename Prepare, typename Take, typename Held>
std::optional<int32_t> Capture(HWND dialog, int buttonId, const CaptureSource& source, Prepare prepare, Take take,
                               Held held) {
    const DisabledDuringCapture disabled(dialog, buttonId);

    ComPtr<IDirectInput7A> directInput;
    const HRESULT created = DirectInputCreateEx(ModuleInstance(), DIRECTINPUT_VERSION, IID_IDirectInput7A,
                                                directInput.PutVoid(), nullptr);
    if (FAILED(created) || !directInput) {
        directInput.Reset();
        ShowCaptureError(dialog, "DirectInputCreate - couldn't initialize...");
        return 0;
    }
    ComPtr<IDirectInputDevice7A> device;
    HRESULT opened = directInput->CreateDeviceEx(source.device, IID_IDirectInputDevice7A, device.PutVoid(), nullptr);
    if (SUCCEEDED(opened) && !device) opened = E_POINTER;
    if (ReportFailure(dialog, opened, "CreateDevice", source.kind)) return 0;
    const UnacquireOnExit unacquire(device.Get());
    if (ReportFailure(dialog, device->SetDataFormat(source.format), "SetDataFormat", source.kind)) return 0;
    if (ReportFailure(dialog, device->SetCooperativeLevel(dialog, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
                      "SetCooperativeLevel", source.kind))
        return 0;

    prepare(device.Get());
    device->Acquire();
    uint8_t state[256];
    return WaitForInput([&]() -> std::optional<int32_t> {
        std::memset(state, 0, source.stateSize);
        if (source.polled) device->Poll();
        if (FAILED(device->GetDeviceState(source.stateSize, state))) {
            // Lost, not acquired, or refused after the dialog lost the foreground: any failed read
            // re-acquires, or the capture could never see a press again.
            device->Acquire();
        } else if (const std::optional<int32_t> input = take(state)) {
            WaitForRelease(device.Get(), source, *input, held);
            return input;
        }
        return std::nullopt;
    });
}

}  // namespace

std::optional<int32_t> CaptureKey(HWND dialog, int buttonId) {
    const std::optional<int32_t> key = Capture(
        dialog, buttonId, {GUID_SysKeyboard, &c_dfDIKeyboard, 256, false, "Keyboard"}, [](IDirectInputDevice7A*) {},
        [](const uint8_t* state) -> std::optional<int32_t> {
            if (const int index = FirstPressed(state, 256); index >= 0) return index;
            return std::nullopt;
        },
        [](const uint8_t* state, int32_t key) { return (state[key] & 0x80) != 0; });
    // The press also reached the dialog as a window message: dropped, so that Escape or Enter taken
    // as a mapping does not close the dialog, nor Space click the focused button again.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {
    }
    return key;
}

std::optional<int32_t> CaptureJoystickInput(HWND dialog, int buttonId, const GUID& device, int32_t range) {
    static_assert(sizeof(DIJOYSTATE) == sizeof(JoystickSnapshot));
    // Axes read in the range the game will see them in; one the device lacks refuses its range and
    // is left out, so that its constant value can never be taken.
    uint32_t axes = 0;
    std::optional<JoystickSnapshot> rest;
    return Capture(
        dialog, buttonId, {device, &c_dfDIJoystick, sizeof(DIJOYSTATE), true, "Joystick"},
        [&](IDirectInputDevice7A* joystick) {
            for (int axis = 0; axis < kJoystickAxisCount; ++axis)
                if (SUCCEEDED(SetAxisRange(joystick, axis, range))) axes |= 1u << axis;
        },
        [&](const uint8_t* state) {
            JoystickSnapshot now;
            std::memcpy(&now, state, sizeof now);
            if (!rest) rest = now;  // where the axes rest when the capture begins
            return FirstJoystickInput(*rest, now, range, axes);
        },
        // A joystick sends the dialog no messages: nothing to wait for.
        [](const uint8_t*, int32_t) { return false; });
}


std::optional<int32_t> CaptureXInputInput(HWND dialog, int buttonId, int32_t pad, int32_t range) {
    const DisabledDuringCapture disabled(dialog, buttonId);
    const XInputFunctions* xinput = XInputLibrary();
    if (!xinput) return std::nullopt;
    // A pad at rest has its sticks centred and its triggers up, so even an input held when the
    // capture begins is taken.
    JoystickSnapshot rest;
    ReadXInputSnapshot(XInputGamepad{}, range, 0, rest);
    ULONGLONG askAgainAt = 0;
    return WaitForInput([&]() -> std::optional<int32_t> {
        // Asking for a missing pad is slow: a few times a second is enough while it is away.
        if (GetTickCount64() < askAgainAt) return std::nullopt;
        XINPUT_STATE state;
        if (xinput->getState(static_cast<DWORD>(pad), &state) != ERROR_SUCCESS) {
            askAgainAt = GetTickCount64() + 100;
            return std::nullopt;
        }
        XInputGamepad gamepad;
        std::memcpy(&gamepad, &state.Gamepad, sizeof gamepad);
        JoystickSnapshot now;
        ReadXInputSnapshot(gamepad, range, 0, now);
        return FirstJoystickInput(rest, now, range, kXInputAxes);
    });
}
