// The test's handle on the fake dinput.dll that the plug-in loads in place of DirectInput.
#pragma once

#include "../fakes/dinput/fake_dinput_control.h"

#include <windows.h>

class FakeDinput {
public:
    // Loads the fake from the program's folder (the plug-in, loaded later, binds to the same one)
    // and resets it.
    FakeDinput();
    ~FakeDinput();
    FakeDinput(const FakeDinput&) = delete;
    FakeDinput& operator=(const FakeDinput&) = delete;

    int32_t AddKeyboard(const char* name = "Keyboard") { return addKeyboard_(name, nullptr); }
    int32_t AddJoystick(const char* name = "Gamepad", bool hasZ = true) { return addJoystick_(name, nullptr, hasZ); }
    void SetEnumerationDelay(int32_t ms) { setEnumerationDelay_(ms); }
    void SetKey(int32_t device, int32_t code, bool down) { setKey_(device, code, down); }
    void SetButton(int32_t device, int32_t button, bool down) { setButton_(device, button, down); }
    void SetAxis(int32_t device, int32_t axis, int32_t value) { setAxis_(device, axis, value); }
    void SetAttached(int32_t device, bool attached) { setAttached_(device, attached); }
    void SetDevicePath(int32_t device, const char* path) { setDevicePath_(device, path); }
    // A two-stick pad: all eight axes and `hats` hats.
    void SetJoystickObjects(int32_t device, uint32_t axisMask, int32_t hats) { setJoystickObjects_(device, axisMask, hats); }
    void SetPov(int32_t device, int32_t hat, uint32_t value) { setPov_(device, hat, value); }
    int32_t DeadZone(int32_t device, int32_t offset) const { return getDeadZone_(device, offset); }
    void Fail(FakeDiCall call, HRESULT result, int32_t times = -1, int32_t device = -1, int32_t detail = -1) {
        failCall_(call, device, detail, result, times);
    }
    void ClearFaults() { clearFaults_(); }
    FakeDiCounters Counters() const {
        FakeDiCounters counters{};
        getCounters_(&counters);
        return counters;
    }
    bool Range(int32_t device, int32_t offset, int32_t& minimum, int32_t& maximum) const {
        return getRange_(device, offset, &minimum, &maximum) != 0;
    }
    int32_t CooperativeFlags(int32_t device, HWND* window = nullptr) const {
        void* w = nullptr;
        const int32_t flags = getCooperativeFlags_(device, &w);
        if (window) *window = static_cast<HWND>(w);
        return flags;
    }
    int32_t Calls(FakeDiCall call, int32_t device = -1) const { return callCount_(call, device); }
    void SetForceFeedback(int32_t device, bool on) { setForceFeedback_(device, on); }
    FakeDiEffects Effects(int32_t device) const {
        FakeDiEffects effects{};
        getEffects_(device, &effects);
        return effects;
    }

private:
    HMODULE module_ = nullptr;
    FakeDi_Reset_t reset_ = nullptr;
    FakeDi_AddKeyboard_t addKeyboard_ = nullptr;
    FakeDi_AddJoystick_t addJoystick_ = nullptr;
    FakeDi_SetAttached_t setAttached_ = nullptr;
    FakeDi_SetDevicePath_t setDevicePath_ = nullptr;
    FakeDi_SetEnumerationDelay_t setEnumerationDelay_ = nullptr;
    FakeDi_SetKey_t setKey_ = nullptr;
    FakeDi_SetButton_t setButton_ = nullptr;
    FakeDi_SetAxis_t setAxis_ = nullptr;
    FakeDi_SetJoystickObjects_t setJoystickObjects_ = nullptr;
    FakeDi_SetPov_t setPov_ = nullptr;
    FakeDi_GetDeadZone_t getDeadZone_ = nullptr;
    FakeDi_FailCall_t failCall_ = nullptr;
    FakeDi_ClearFaults_t clearFaults_ = nullptr;
    FakeDi_GetCounters_t getCounters_ = nullptr;
    FakeDi_GetRange_t getRange_ = nullptr;
    FakeDi_GetCooperativeFlags_t getCooperativeFlags_ = nullptr;
    FakeDi_CallCount_t callCount_ = nullptr;
    FakeDi_SetForceFeedback_t setForceFeedback_ = nullptr;
    FakeDi_GetEffects_t getEffects_ = nullptr;
};
