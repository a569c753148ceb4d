// The COM objects the plug-in sees. Facts of DirectInput 7 they follow (Microsoft's documentation):
// - SetDataFormat, SetCooperativeLevel and SetProperty fail with DIERR_ACQUIRED on an acquired
//   device; only the force-feedback gain may change while acquired.
// - A device read while unplugged drops its acquisition; reads then fail until it is acquired again.
// - EnumDevices calls its callback outside any lock of its own, on the calling thread; a slow one
//   (SetEnumerationDelay) holds only that thread.
// - A device attached later (SetAttached, or added after start) is enumerated from then on.
// The 7A interfaces extend the older A ones vtable-wise, so one
// object answers for IDirectInputA/2A/7A and one for IDirectInputDeviceA/2A/7A.
#pragma once

#include "fake_state.h"

namespace fakedi {

// AddRef/Release shared by both objects; the state sums the counts for the counters.
ULONG addReference(ObjectRecord& record);
// Returns the references left; at zero the record is unregistered and the caller deletes itself.
ULONG dropReference(ObjectRecord& record);

class FakeDevice;

class FakeDirectInput final : public IDirectInput7A {
public:
    // Registers with the state; the caller holds the state lock.
    FakeDirectInput();

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return addReference(record_); }
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(CreateDevice)(REFGUID guid, LPDIRECTINPUTDEVICEA* out, LPUNKNOWN outer) override;
    STDMETHOD(EnumDevices)(DWORD devType, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                           DWORD flags) override;
    STDMETHOD(GetDeviceStatus)(REFGUID guid) override;
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD) override { return DI_OK; }
    STDMETHOD(FindDevice)(REFGUID, LPCSTR, LPGUID) override { return DIERR_DEVICENOTREG; }
    STDMETHOD(CreateDeviceEx)(REFGUID guid, REFIID riid, LPVOID* out, LPUNKNOWN outer) override;

private:
    ObjectRecord record_;
};

class FakeDevice final : public IDirectInputDevice7A {
public:
    // Registers with the state; the caller holds the state lock.
    explicit FakeDevice(int device);

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return addReference(record_); }
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(GetCapabilities)(LPDIDEVCAPS caps) override;
    STDMETHOD(EnumObjects)(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                           DWORD flags) override;
    STDMETHOD(GetProperty)(REFGUID property, LPDIPROPHEADER header) override;
    STDMETHOD(SetProperty)(REFGUID property, LPCDIPROPHEADER header) override;
    STDMETHOD(Acquire)() override;
    STDMETHOD(Unacquire)() override;
    STDMETHOD(GetDeviceState)(DWORD size, LPVOID data) override;
    STDMETHOD(GetDeviceData)(DWORD, LPDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(SetDataFormat)(LPCDIDATAFORMAT format) override;
    STDMETHOD(SetEventNotification)(HANDLE) override { return E_NOTIMPL; }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD flags) override;
    STDMETHOD(GetObjectInfo)(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetDeviceInfo)(LPDIDEVICEINSTANCEA info) override;
    STDMETHOD(RunControlPanel)(HWND, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return E_NOTIMPL; }

    STDMETHOD(CreateEffect)(REFGUID guid, LPCDIEFFECT effect, LPDIRECTINPUTEFFECT* out, LPUNKNOWN outer) override;
    STDMETHOD(EnumEffects)(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(GetEffectInfo)(LPDIEFFECTINFOA, REFGUID) override { return E_NOTIMPL; }
    STDMETHOD(GetForceFeedbackState)(LPDWORD) override { return E_NOTIMPL; }
    STDMETHOD(SendForceFeedbackCommand)(DWORD) override { return E_NOTIMPL; }
    STDMETHOD(EnumCreatedEffectObjects)(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }
    STDMETHOD(Poll)() override;
    STDMETHOD(SendDeviceData)(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override {
        return E_NOTIMPL;
    }

    STDMETHOD(EnumEffectsInFile)(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override {
        return E_NOTIMPL;
    }
    STDMETHOD(WriteEffectToFile)(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override {
        return E_NOTIMPL;
    }

    // Under the state lock: the acquisition an effect of this object may play in, or 0.
    uint64_t exclusiveAcquisitionOf() const { return record_.exclusiveAcquisition(); }

private:
    // Drops acquisition when a read or poll reports the device as lost or not acquired, so that
    // the next Acquire starts over as it does on Windows.
    void dropAcquisitionOn(HRESULT result);
    // The common start of a read or poll: an injected fault, an unplugged device, or no acquisition;
    // DI_OK when the call may go on.
    HRESULT enterRead(FakeDiCall call, State& state, const VirtualDevice* device);
    HRESULT setRange(VirtualDevice& device, const DIPROPRANGE& range);
    HRESULT setDeadZone(VirtualDevice& device, const DIPROPDWORD& deadZone);

    ObjectRecord record_;
    DWORD dataSize_ = 0;  // 0 until SetDataFormat
    DWORD cooperativeFlags_ = 0;
    HWND cooperativeWindow_ = nullptr;
};

// A force-feedback effect of one device object; fake_effect.cpp states what it follows.
class FakeEffect final : public IDirectInputEffect {
public:
    // Registers with the state and holds a reference to `owner`; the caller holds the state lock.
    FakeEffect(FakeDevice* owner, ObjectRecord& ownerRecord);

    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    STDMETHOD_(ULONG, AddRef)() override { return addReference(record_); }
    STDMETHOD_(ULONG, Release)() override;

    STDMETHOD(Initialize)(HINSTANCE, DWORD, REFGUID) override { return DI_OK; }
    STDMETHOD(GetEffectGuid)(LPGUID guid) override;
    STDMETHOD(GetParameters)(LPDIEFFECT, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(SetParameters)(LPCDIEFFECT, DWORD) override { return E_NOTIMPL; }
    STDMETHOD(Start)(DWORD iterations, DWORD flags) override;
    STDMETHOD(Stop)() override;
    STDMETHOD(GetEffectStatus)(LPDWORD status) override;
    STDMETHOD(Download)() override { return E_NOTIMPL; }
    STDMETHOD(Unload)() override { return E_NOTIMPL; }
    STDMETHOD(Escape)(LPDIEFFESCAPE) override { return E_NOTIMPL; }

    // Downloads the effect if its device object is acquired at the exclusive level.
    void downloadIfExclusive() { record_.downloadedIn = owner_->exclusiveAcquisitionOf(); }

private:
    ObjectRecord record_;
    FakeDevice* owner_;
};

// Shared by CreateDevice and CreateDeviceEx; counts and faults the call.
HRESULT createDevice(REFGUID guid, REFIID riid, void** out, LPUNKNOWN outer);

}  // namespace fakedi
