#include "fake_objects.h"

#include <cstdio>
#include <cstring>

namespace fakedi {

namespace {

constexpr DWORD kAllowedCooperativeFlags =
    DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND | DISCL_NOWINKEY;

bool exactlyOne(DWORD flags, DWORD a, DWORD b) { return ((flags & a) != 0) != ((flags & b) != 0); }

// The data format offset a property header names, or nothing when it names no axis.
std::optional<DWORD> axisOffset(const DIPROPHEADER& header, DWORD dataSize) {
    switch (header.dwHow) {
    case DIPH_BYOFFSET:
        // Offsets only mean something once a data format is set.
        if (dataSize == 0) return std::nullopt;
        return header.dwObj;
    case DIPH_BYID:
        if (!(DIDFT_GETTYPE(header.dwObj) & DIDFT_AXIS)) return std::nullopt;
        return DIDFT_GETINSTANCE(header.dwObj) * sizeof(LONG);
    default:
        return std::nullopt;
    }
}

DIDEVICEOBJECTINSTANCEA objectInstance(const GUID& type, DWORD offset, DWORD objType, const char* name) {
    DIDEVICEOBJECTINSTANCEA object{};
    object.dwSize = sizeof object;
    object.guidType = type;
    object.dwOfs = offset;
    object.dwType = objType;
    std::snprintf(object.tszName, sizeof object.tszName, "%s", name);
    return object;
}

std::vector<DIDEVICEOBJECTINSTANCEA> objectsOf(const VirtualDevice& device, DWORD flags) {
    std::vector<DIDEVICEOBJECTINSTANCEA> objects;
    const bool all = flags == DIDFT_ALL;
    char name[32];
    if (device.keyboard) {
        if (!all && !(flags & DIDFT_BUTTON)) return objects;
        for (int key = 0; key < static_cast<int>(device.keys.size()); ++key) {
            std::snprintf(name, sizeof name, "Key %d", key);
            objects.push_back(objectInstance(GUID_Key, key, DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(key), name));
        }
        return objects;
    }
    if (all || (flags & DIDFT_AXIS)) {
        static const GUID* const kAxisTypes[kAxisSlots] = {&GUID_XAxis,  &GUID_YAxis,  &GUID_ZAxis,  &GUID_RxAxis,
                                                           &GUID_RyAxis, &GUID_RzAxis, &GUID_Slider, &GUID_Slider};
        static const char* const kAxisNames[kAxisSlots] = {"X Axis",  "Y Axis",  "Z Axis",  "X Rotation",
                                                           "Y Rotation", "Z Rotation", "Slider", "Slider 2"};
        DWORD instance = 0;
        for (int axis = 0; axis < kAxisSlots; ++axis)
            if (device.hasAxisAtOffset(axis * sizeof(LONG)))
                objects.push_back(objectInstance(*kAxisTypes[axis], axis * sizeof(LONG),
                                                 DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(instance++), kAxisNames[axis]));
    }
    if (all || (flags & DIDFT_POV)) {
        for (int hat = 0; hat < device.hats; ++hat) {
            std::snprintf(name, sizeof name, "Hat Switch %d", hat);
            objects.push_back(objectInstance(GUID_POV, DIJOFS_POV(hat), DIDFT_POV | DIDFT_MAKEINSTANCE(hat), name));
        }
    }
    if (all || (flags & DIDFT_BUTTON)) {
        for (int button = 0; button < kJoystickButtons; ++button) {
            std::snprintf(name, sizeof name, "Button %d", button);
            objects.push_back(objectInstance(GUID_Button, DIJOFS_BUTTON(button),
                                             DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(button), name));
        }
    }
    return objects;
}

}  // namespace

FakeDevice::FakeDevice(int device) {
    record_.isDevice = true;
    record_.device = device;
    State::instance().registerObject(&record_);
}

HRESULT FakeDevice::QueryInterface(REFIID riid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDirectInputDeviceA) &&
        !IsEqualIID(riid, IID_IDirectInputDevice2A) && !IsEqualIID(riid, IID_IDirectInputDevice7A))
        return E_NOINTERFACE;
    AddRef();
    *out = static_cast<IDirectInputDevice7A*>(this);
    return S_OK;
}

ULONG FakeDevice::Release() {
    ULONG left = dropReference(record_);
    if (left == 0) delete this;
    return left;
}

void FakeDevice::dropAcquisitionOn(HRESULT result) {
    if (result == DIERR_INPUTLOST || result == DIERR_NOTACQUIRED) record_.acquired = false;
}

HRESULT FakeDevice::SetDataFormat(LPCDIDATAFORMAT format) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    if (auto fault = state.enter(FAKEDI_CALL_SET_DATA_FORMAT, device ? record_.device : kNoDevice))
        return *fault;
    if (!format || format->dwSize != sizeof(DIDATAFORMAT) || format->dwDataSize == 0)
        return DIERR_INVALIDPARAM;
    if (record_.acquired) return DIERR_ACQUIRED;
    dataSize_ = format->dwDataSize;
    return DI_OK;
}

HRESULT FakeDevice::SetCooperativeLevel(HWND window, DWORD flags) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    if (auto fault = state.enter(FAKEDI_CALL_SET_COOPERATIVE_LEVEL, device ? record_.device : kNoDevice))
        return *fault;
    if ((flags & ~kAllowedCooperativeFlags) || !exactlyOne(flags, DISCL_EXCLUSIVE, DISCL_NONEXCLUSIVE) ||
        !exactlyOne(flags, DISCL_FOREGROUND, DISCL_BACKGROUND))
        return DIERR_INVALIDPARAM;
    if (record_.acquired) return DIERR_ACQUIRED;
    // Windows refuses exclusive background access to the keyboard.
    if (device && device->keyboard && (flags & DISCL_EXCLUSIVE) && (flags & DISCL_BACKGROUND))
        return DIERR_UNSUPPORTED;
    cooperativeFlags_ = flags;
    cooperativeWindow_ = window;
    record_.exclusive = (flags & DISCL_EXCLUSIVE) != 0;
    if (device) {
        device->cooperativeFlags = flags;
        device->cooperativeWindow = window;
    }
    return DI_OK;
}

HRESULT FakeDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
    State& state = State::instance();
    auto lock = state.lock();
    VirtualDevice* device = state.deviceOf(record_);
    const bool isRange = &property == &DIPROP_RANGE;
    const int detail = isRange && header && header->dwHow == DIPH_BYOFFSET
                           ? static_cast<int>(header->dwObj) : kAnyDetail;
    if (auto fault = state.enter(FAKEDI_CALL_SET_PROPERTY, device ? record_.device : kNoDevice, detail))
        return *fault;
    if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    if (!device) return DIERR_INPUTLOST;
    // Windows takes a property change only while the device is unacquired, the force-feedback gain
    // excepted; Wine accepts it anyway, which hid settings that Windows would have dropped.
    if (record_.acquired && &property != &DIPROP_FFGAIN) return DIERR_ACQUIRED;
    if (isRange) {
        if (header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
        return setRange(*device, *reinterpret_cast<const DIPROPRANGE*>(header));
    }
    if (&property == &DIPROP_DEADZONE) {
        if (header->dwSize != sizeof(DIPROPDWORD)) return DIERR_INVALIDPARAM;
        return setDeadZone(*device, *reinterpret_cast<const DIPROPDWORD*>(header));
    }
    // Other tuning properties are accepted and ignored: the fake reports axis values as set.
    if (&property == &DIPROP_SATURATION ||
        &property == &DIPROP_BUFFERSIZE || &property == &DIPROP_AXISMODE)
        return DI_OK;
    return DIERR_UNSUPPORTED;
}

HRESULT FakeDevice::setRange(VirtualDevice& device, const DIPROPRANGE& range) {
    if (range.lMin > range.lMax) return DIERR_INVALIDPARAM;
    if (device.keyboard) return DIERR_OBJECTNOTFOUND;
    if (range.diph.dwHow == DIPH_DEVICE) {
        if (range.diph.dwObj != 0) return DIERR_INVALIDPARAM;
        for (int axis = 0; axis < kAxisSlots; ++axis)
            if (device.hasAxisAtOffset(axis * sizeof(LONG)))
                device.ranges[axis * sizeof(LONG)] = AxisRange{range.lMin, range.lMax};
        return DI_OK;
    }
    std::optional<DWORD> offset = axisOffset(range.diph, dataSize_);
    if (!offset || !device.hasAxisAtOffset(*offset)) return DIERR_OBJECTNOTFOUND;
    device.ranges[*offset] = AxisRange{range.lMin, range.lMax};
    return DI_OK;
}

HRESULT FakeDevice::setDeadZone(VirtualDevice& device, const DIPROPDWORD& deadZone) {
    if (deadZone.dwData > 10000) return DIERR_INVALIDPARAM;
    if (device.keyboard) return DIERR_OBJECTNOTFOUND;
    if (deadZone.diph.dwHow == DIPH_DEVICE) {
        for (int axis = 0; axis < kAxisSlots; ++axis)
            if (device.hasAxisAtOffset(axis * sizeof(LONG))) device.deadZones[axis * sizeof(LONG)] = deadZone.dwData;
        return DI_OK;
    }
    std::optional<DWORD> offset = axisOffset(deadZone.diph, dataSize_);
    if (!offset || !device.hasAxisAtOffset(*offset)) return DIERR_OBJECTNOTFOUND;
    device.deadZones[*offset] = deadZone.dwData;
    return DI_OK;
}

HRESULT FakeDevice::GetProperty(REFGUID property, LPDIPROPHEADER header) {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (!header || header->dwHeaderSize != sizeof(DIPROPHEADER)) return DIERR_INVALIDPARAM;
    if (!device) return DIERR_INPUTLOST;
    if (&property == &DIPROP_GUIDANDPATH) {
        // Wine answers with the HID class and the device's interface path.
        if (header->dwSize != sizeof(DIPROPGUIDANDPATH) || header->dwHow != DIPH_DEVICE) return DIERR_INVALIDPARAM;
        if (device->path.empty()) return DIERR_UNSUPPORTED;
        auto* path = reinterpret_cast<DIPROPGUIDANDPATH*>(header);
        MultiByteToWideChar(CP_ACP, 0, device->path.c_str(), -1, path->wszPath, MAX_PATH);
        path->wszPath[MAX_PATH - 1] = L'\0';
        return DI_OK;
    }
    if (&property != &DIPROP_RANGE) return DIERR_UNSUPPORTED;
    if (header->dwSize != sizeof(DIPROPRANGE)) return DIERR_INVALIDPARAM;
    if (header->dwHow == DIPH_DEVICE) return DIERR_INVALIDPARAM;  // a range belongs to one axis
    std::optional<DWORD> offset = axisOffset(*header, dataSize_);
    if (device->keyboard || !offset || !device->hasAxisAtOffset(*offset)) return DIERR_OBJECTNOTFOUND;
    auto* range = reinterpret_cast<DIPROPRANGE*>(header);
    auto recorded = device->ranges.find(*offset);
    range->lMin = recorded == device->ranges.end() ? kDefaultRangeMin : recorded->second.minimum;
    range->lMax = recorded == device->ranges.end() ? kDefaultRangeMax : recorded->second.maximum;
    return DI_OK;
}

HRESULT FakeDevice::Acquire() {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (auto fault = state.enter(FAKEDI_CALL_ACQUIRE, device ? record_.device : kNoDevice)) {
        record_.acquired = false;
        return *fault;
    }
    if (!device || !device->attached) return DIERR_UNPLUGGED;
    if (dataSize_ == 0) return DIERR_INVALIDPARAM;
    if (record_.acquired) return DI_NOEFFECT;
    record_.acquired = true;
    ++record_.acquisition;
    return DI_OK;
}

HRESULT FakeDevice::Unacquire() {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (auto fault = state.enter(FAKEDI_CALL_UNACQUIRE, device ? record_.device : kNoDevice))
        return *fault;
    if (!record_.acquired) return DI_NOEFFECT;
    record_.acquired = false;
    return DI_OK;
}

HRESULT FakeDevice::enterRead(FakeDiCall call, State& state, const VirtualDevice* device) {
    if (auto fault = state.enter(call, device ? record_.device : kNoDevice)) {
        dropAcquisitionOn(*fault);
        return *fault;
    }
    if (!device || !device->attached) {
        record_.acquired = false;
        return DIERR_INPUTLOST;
    }
    return record_.acquired ? DI_OK : DIERR_NOTACQUIRED;
}

HRESULT FakeDevice::GetDeviceState(DWORD size, LPVOID data) {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (const HRESULT result = enterRead(FAKEDI_CALL_GET_DEVICE_STATE, state, device); result != DI_OK) return result;
    if (!data || size != dataSize_) return DIERR_INVALIDPARAM;
    device->readState(data, size);
    return DI_OK;
}

HRESULT FakeDevice::Poll() {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (const HRESULT result = enterRead(FAKEDI_CALL_POLL, state, device); result != DI_OK) return result;
    // Keyboards deliver their state without polling; joysticks behave as polled devices.
    return device->keyboard ? DI_NOEFFECT : DI_OK;
}

HRESULT FakeDevice::GetCapabilities(LPDIDEVCAPS caps) {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (!caps || (caps->dwSize != sizeof(DIDEVCAPS) && caps->dwSize != sizeof(DIDEVCAPS_DX3)))
        return DIERR_INVALIDPARAM;
    if (!device) return DIERR_INPUTLOST;
    const DWORD size = caps->dwSize;
    std::memset(caps, 0, size);
    caps->dwSize = size;
    caps->dwFlags = (device->attached ? DIDC_ATTACHED : 0) | (device->keyboard ? 0 : DIDC_POLLEDDEVICE) |
                    (device->forceFeedback ? DIDC_FORCEFEEDBACK : 0);
    caps->dwDevType = device->devType();
    caps->dwAxes = device->axisCount();
    caps->dwPOVs = device->hats;
    caps->dwButtons = device->keyboard ? device->keys.size() : kJoystickButtons;
    return DI_OK;
}

HRESULT FakeDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA info) {
    State& state = State::instance();
    auto lock = state.lock();
    const VirtualDevice* device = state.deviceOf(record_);
    if (!info || (info->dwSize != sizeof(DIDEVICEINSTANCEA) && info->dwSize != sizeof(DIDEVICEINSTANCE_DX3A)))
        return DIERR_INVALIDPARAM;
    if (!device) return DIERR_INPUTLOST;
    device->fillInstance(*info, info->dwSize);
    return DI_OK;
}

HRESULT FakeDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context, DWORD flags) {
    std::vector<DIDEVICEOBJECTINSTANCEA> objects;
    {
        State& state = State::instance();
        auto lock = state.lock();
        const VirtualDevice* device = state.deviceOf(record_);
        if (!callback) return DIERR_INVALIDPARAM;
        if (!device) return DIERR_INPUTLOST;
        objects = objectsOf(*device, flags);
    }
    // Unlocked, like EnumDevices: the callback may call back into the device.
    for (const DIDEVICEOBJECTINSTANCEA& object : objects)
        if (callback(&object, context) == DIENUM_STOP) break;
    return DI_OK;
}

}  // namespace fakedi
