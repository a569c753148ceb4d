#include "fake_objects.h"

namespace fakedi {

ULONG addReference(ObjectRecord& record) {
    auto lock = State::instance().lock();
    return static_cast<ULONG>(++record.references);
}

ULONG dropReference(ObjectRecord& record) {
    auto lock = State::instance().lock();
    LONG left = --record.references;
    if (left <= 0) {
        record.acquired = false;
        State::instance().unregisterObject(&record);
    }
    return static_cast<ULONG>(left < 0 ? 0 : left);
}

FakeDirectInput::FakeDirectInput() {
    State::instance().registerObject(&record_);
}

HRESULT FakeDirectInput::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDirectInputA) &&
        !IsEqualIID(riid, IID_IDirectInput2A) && !IsEqualIID(riid, IID_IDirectInput7A))
        return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IDirectInput7A*>(this);
    return S_OK;
}

ULONG FakeDirectInput::Release() {
    ULONG left = dropReference(record_);
    if (left == 0) delete this;
    return left;
}

HRESULT FakeDirectInput::CreateDevice(REFGUID guid, LPDIRECTINPUTDEVICEA* out, LPUNKNOWN outer) {
    return createDevice(guid, IID_IDirectInputDeviceA, reinterpret_cast<void**>(out), outer);
}

HRESULT FakeDirectInput::CreateDeviceEx(REFGUID guid, REFIID riid, LPVOID* out, LPUNKNOWN outer) {
    return createDevice(guid, riid, out, outer);
}

HRESULT FakeDirectInput::EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback,
                                     LPVOID context, DWORD flags) {
    std::vector<DIDEVICEINSTANCEA> matches;
    DWORD delayMs = 0;
    {
        State& state = State::instance();
        auto lock = state.lock();
        if (auto fault = state.enter(FAKEDI_CALL_ENUM_DEVICES, kNoDevice)) return *fault;
        const DWORD type = GET_DIDEVICE_TYPE(devType);
        if (!callback || type > DIDEVTYPE_JOYSTICK) return DIERR_INVALIDPARAM;
        // Only keyboards and joysticks exist.
        if (type == DIDEVTYPE_DEVICE || type == DIDEVTYPE_MOUSE) return DI_OK;
        for (int i = 0; i < state.deviceCount(); ++i) {
            const VirtualDevice& device = *state.device(i);
            if ((flags & DIEDFL_ATTACHEDONLY) && !device.attached) continue;
            if ((flags & DIEDFL_FORCEFEEDBACK) && !device.forceFeedback) continue;
            if (type != 0 && GET_DIDEVICE_TYPE(device.devType()) != type) continue;
            DIDEVICEINSTANCEA instance;
            device.fillInstance(instance, sizeof instance);
            matches.push_back(instance);
        }
        delayMs = state.enumerationDelayMs();
    }
    // A slow enumeration holds only the thread that asked for it.
    if (delayMs) Sleep(delayMs);
    // Unlocked: callbacks typically create the device they are shown, which re-enters the fake.
    for (const DIDEVICEINSTANCEA& instance : matches) {
        if (callback(&instance, context) == DIENUM_STOP) break;
    }
    return DI_OK;
}

HRESULT FakeDirectInput::GetDeviceStatus(REFGUID guid) {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.device(state.findDevice(guid));
    if (!device) return DIERR_DEVICENOTREG;
    return device->attached ? DI_OK : DI_NOTATTACHED;
}

HRESULT createDevice(REFGUID guid, REFIID riid, void** out, LPUNKNOWN outer) {
    State& state = State::instance();
    auto lock = state.lock();
    const int index = IsEqualGUID(guid, GUID_SysKeyboard) ? state.firstKeyboard()
                                                           : state.findDevice(guid);
    if (auto fault = state.enter(FAKEDI_CALL_CREATE_DEVICE, index)) return *fault;
    if (!out) return DIERR_INVALIDPARAM;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (!IsEqualIID(riid, IID_IDirectInputDeviceA) && !IsEqualIID(riid, IID_IDirectInputDevice2A) &&
        !IsEqualIID(riid, IID_IDirectInputDevice7A))
        return E_NOINTERFACE;
    const VirtualDevice* device = state.device(index);
    if (!device || !device->attached) return DIERR_DEVICENOTREG;
    *out = static_cast<IDirectInputDevice7A*>(new FakeDevice(index));
    state.noteDeviceCreated();
    return DI_OK;
}

}  // namespace fakedi
