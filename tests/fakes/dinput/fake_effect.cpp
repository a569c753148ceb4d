// Force-feedback effects as DirectInput documents them, as far as the plug-in's motor uses them:
// - CreateEffect on a device without force feedback (no DIDC_FORCEFEEDBACK in its capabilities)
//   fails with DIERR_UNSUPPORTED, as Wine's DirectInput answers. The fake pad's only effect is the
//   constant force. "Downloading is done automatically when you create an effect, provided the
//   device ... is acquired at the exclusive cooperative level"; the creation succeeds either way.
// - Start and Stop: "The device must be acquired at the exclusive cooperative level for this method
//   to succeed", else DIERR_NOTEXCLUSIVEACQUIRED; an unplugged device answers DIERR_INPUTLOST.
//   Start downloads an effect that is not on the device.
// - "When the device is unacquired ... effects are unloaded and must be downloaded again", and an
//   effect that is unloaded stops playing; releasing an effect's last reference unloads it.
//   (Downloading and Unloading Effects; IDirectInputEffect::Start, Stop, Unload.)
// Every call runs under the state's one lock, so a test may read the effects while the plug-in's
// threads start and stop them.
#include "fake_objects.h"

namespace fakedi {

HRESULT FakeDevice::CreateEffect(REFGUID guid, LPCDIEFFECT effect, LPDIRECTINPUTEFFECT* out, LPUNKNOWN outer) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return DIERR_NOAGGREGATION;
    if (!device) return DIERR_INPUTLOST;
    if (!device->forceFeedback) return DIERR_UNSUPPORTED;
    if (!IsEqualGUID(guid, GUID_ConstantForce)) return DIERR_DEVICENOTREG;
    if (!effect || effect->dwSize != sizeof(DIEFFECT) || effect->cAxes == 0 || effect->cAxes > 2 || !effect->rgdwAxes ||
        effect->cbTypeSpecificParams != sizeof(DICONSTANTFORCE) || !effect->lpvTypeSpecificParams)
        return DIERR_INVALIDPARAM;
    // Axes named by offset mean something only once a data format is set.
    if ((effect->dwFlags & DIEFF_OBJECTOFFSETS) && dataSize_ == 0) return DIERR_INVALIDPARAM;
    const auto* force = static_cast<const DICONSTANTFORCE*>(effect->lpvTypeSpecificParams);
    if (force->lMagnitude < -DI_FFNOMINALMAX || force->lMagnitude > DI_FFNOMINALMAX) return DIERR_INVALIDPARAM;
    device->effects.magnitude = force->lMagnitude;
    ++device->effects.created;
    auto* created = new FakeEffect(this, record_);
    created->downloadIfExclusive();
    *out = created;
    return DI_OK;
}

FakeEffect::FakeEffect(FakeDevice* owner, ObjectRecord& ownerRecord) : owner_(owner) {
    record_.device = ownerRecord.device;
    record_.owner = &ownerRecord;
    ++ownerRecord.references;  // the effect keeps its device object, as AddRef would
    State::instance().registerObject(&record_);
}

HRESULT FakeEffect::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDirectInputEffect)) return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IDirectInputEffect*>(this);
    return S_OK;
}

ULONG FakeEffect::Release() {
    const ULONG left = dropReference(record_);
    if (left == 0) {
        owner_->Release();
        delete this;
    }
    return left;
}

HRESULT FakeEffect::GetEffectGuid(LPGUID guid) {
    if (!guid) return E_POINTER;
    *guid = GUID_ConstantForce;
    return DI_OK;
}

HRESULT FakeEffect::Start(DWORD, DWORD) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    if (!device || !device->attached) return DIERR_INPUTLOST;
    const uint64_t acquisition = owner_->exclusiveAcquisitionOf();
    if (acquisition == 0) {
        ++device->effects.refused;
        return DIERR_NOTEXCLUSIVEACQUIRED;
    }
    record_.downloadedIn = acquisition;
    record_.started = true;
    ++device->effects.starts;
    return DI_OK;
}

HRESULT FakeEffect::Stop() {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    if (!device || !device->attached) return DIERR_INPUTLOST;
    if (owner_->exclusiveAcquisitionOf() == 0) {
        ++device->effects.refused;
        return DIERR_NOTEXCLUSIVEACQUIRED;
    }
    record_.started = false;
    ++device->effects.stops;
    return DI_OK;
}

HRESULT FakeEffect::GetEffectStatus(LPDWORD status) {
    if (!status) return E_POINTER;
    State& state = State::instance();
    auto lock = state.lock();
    const uint64_t acquisition = owner_->exclusiveAcquisitionOf();
    *status = record_.started && acquisition != 0 && acquisition == record_.downloadedIn ? DIEGES_PLAYING : 0;
    return DI_OK;
}

}  // namespace fakedi
