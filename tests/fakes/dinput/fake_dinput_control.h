// Control surface of the scriptable stand-in for dinput.dll.
//
// The fake is loaded in place of Wine's DirectInput (WINEDLLOVERRIDES=dinput=n, the fake beside the
// test program). The plug-in sees ordinary IDirectInput7A / IDirectInputDevice7A objects; a test
// drives the virtual devices and injects faults through these extra exports, resolved at run time
// with GetProcAddress so that a test program does not import dinput.dll itself.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// Which DirectInput call a fault applies to.
enum FakeDiCall {
    FAKEDI_CALL_CREATE = 0,        // DirectInputCreateEx
    FAKEDI_CALL_ENUM_DEVICES,      // IDirectInput7A::EnumDevices
    FAKEDI_CALL_CREATE_DEVICE,     // IDirectInput7A::CreateDeviceEx (device = target device)
    FAKEDI_CALL_SET_DATA_FORMAT,
    FAKEDI_CALL_SET_COOPERATIVE_LEVEL,
    FAKEDI_CALL_SET_PROPERTY,      // detail = object offset of a DIPH_BYOFFSET range (0 X, 4 Y, 8 Z), -1 any
    FAKEDI_CALL_ACQUIRE,
    FAKEDI_CALL_GET_DEVICE_STATE,
    FAKEDI_CALL_POLL,
    FAKEDI_CALL_UNACQUIRE,
    FAKEDI_CALL_COUNT
};

// Counters since the last FakeDi_Reset.
struct FakeDiCounters {
    int32_t enumerations;        // EnumDevices calls
    int32_t directInputsCreated; // DirectInputCreateEx successes
    int32_t devicesCreated;      // CreateDeviceEx successes
    int32_t liveObjects;         // DirectInput, device and effect objects not yet released to 0 references
    int32_t liveDevices;         // device objects not yet released to 0 references
    int32_t references;          // sum of reference counts over all live objects
    int32_t acquireCalls;        // Acquire calls (successful or not)
    int32_t acquiredNow;         // device objects currently acquired
    int32_t getDeviceStateCalls;
    int32_t pollCalls;
};

// A joystick's force-feedback effects since the last FakeDi_Reset.
struct FakeDiEffects {
    int32_t created;    // CreateEffect successes
    int32_t live;       // effect objects not yet released
    int32_t playing;    // effects started, not stopped, and still downloaded
    int32_t starts;     // Start successes
    int32_t stops;      // Stop successes
    int32_t refused;    // Start or Stop refused: the device not acquired at the exclusive level
    int32_t magnitude;  // constant force of the last effect created
};

typedef void(__cdecl* FakeDi_Reset_t)(void);
// Adds a virtual device, attached; returns its index (0-based, in order of addition).
// Keyboards are enumerated for DIDEVTYPE_KEYBOARD, joysticks for DIDEVTYPE_JOYSTICK, each in the
// order added. `guidBytes` is the 16-byte instance GUID (null: one is derived from the index).
typedef int32_t(__cdecl* FakeDi_AddKeyboard_t)(const char* name, const uint8_t* guidBytes);
typedef int32_t(__cdecl* FakeDi_AddJoystick_t)(const char* name, const uint8_t* guidBytes, int32_t hasZAxis);
// Marks a device attached or not; a detached device is not enumerated with DIEDFL_ATTACHEDONLY and
// its GetDeviceState/Poll/Acquire answer DIERR_INPUTLOST / DIERR_UNPLUGGED-like failures.
typedef void(__cdecl* FakeDi_SetAttached_t)(int32_t device, int32_t attached);
// The device path DIPROP_GUIDANDPATH reports (an XInput pad's carries "IG_"); none by default.
typedef void(__cdecl* FakeDi_SetDevicePath_t)(int32_t device, const char* path);
// Makes every EnumDevices take `ms` milliseconds longer (0: none), on the thread that calls it.
typedef void(__cdecl* FakeDi_SetEnumerationDelay_t)(int32_t ms);
typedef void(__cdecl* FakeDi_SetKey_t)(int32_t device, int32_t code, int32_t down);
typedef void(__cdecl* FakeDi_SetButton_t)(int32_t device, int32_t button, int32_t down);
// axis: 0 X, 1 Y, 2 Z, 3 Rx, 4 Ry, 5 Rz, 6 slider 0, 7 slider 1. The value is reported as is (no
// range scaling, no dead zone), also for an axis the device lacks.
typedef void(__cdecl* FakeDi_SetAxis_t)(int32_t device, int32_t axis, int32_t value);
// Which axes a joystick has as objects (bit n = axis n above; AddJoystick gives X, Y and maybe Z)
// and how many point-of-view hats (0..4). Properties on a missing axis fail with
// DIERR_OBJECTNOTFOUND; a missing hat reads centred.
typedef void(__cdecl* FakeDi_SetJoystickObjects_t)(int32_t device, uint32_t axisMask, int32_t hats);
// A hat's value in hundredths of a degree clockwise from up; 0xFFFFFFFF is centred.
typedef void(__cdecl* FakeDi_SetPov_t)(int32_t device, int32_t hat, uint32_t value);
// Makes `call` fail with `result` on `device` (-1: any device, or the call has no device) for the
// next `times` calls (-1: always). `detail` narrows SET_PROPERTY to one object offset (-1: any).
// Several faults may be armed at once; the first matching armed fault wins.
typedef void(__cdecl* FakeDi_FailCall_t)(int32_t call, int32_t device, int32_t detail, int32_t result, int32_t times);
typedef void(__cdecl* FakeDi_ClearFaults_t)(void);
typedef void(__cdecl* FakeDi_GetCounters_t)(struct FakeDiCounters* out);
// The last DIPROP_RANGE set on `device` for the object at `offset` (DIPH_BYOFFSET); returns 0 when
// none was set, else 1 with *minimum/*maximum filled.
typedef int32_t(__cdecl* FakeDi_GetRange_t)(int32_t device, int32_t offset, int32_t* minimum, int32_t* maximum);
// The last DIPROP_DEADZONE set on `device` for the axis at `offset` (directly or for the whole
// device), or -1 when none was.
typedef int32_t(__cdecl* FakeDi_GetDeadZone_t)(int32_t device, int32_t offset);
// Cooperative level flags and window last set on `device` (0 when never set).
typedef int32_t(__cdecl* FakeDi_GetCooperativeFlags_t)(int32_t device, void** window);
// Gives a joystick force feedback (DIDC_FORCEFEEDBACK, constant-force effects) or takes it away.
typedef void(__cdecl* FakeDi_SetForceFeedback_t)(int32_t device, int32_t on);
typedef void(__cdecl* FakeDi_GetEffects_t)(int32_t device, struct FakeDiEffects* out);
// Number of calls of `call` on `device` (-1: all devices) since reset.
typedef int32_t(__cdecl* FakeDi_CallCount_t)(int32_t call, int32_t device);

#ifdef __cplusplus
}
#endif
