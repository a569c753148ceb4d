#include "fake_state.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace fakedi {

DWORD VirtualDevice::devType() const {
    return keyboard ? (DIDEVTYPE_KEYBOARD | (DIDEVTYPEKEYBOARD_PCENH << 8))
                    : (DIDEVTYPE_JOYSTICK | (DIDEVTYPEJOYSTICK_GAMEPAD << 8));
}

bool VirtualDevice::hasAxisAtOffset(DWORD offset) const {
    if (keyboard || offset % sizeof(LONG) != 0 || offset / sizeof(LONG) >= kAxisSlots) return false;
    return (axisMask >> (offset / sizeof(LONG))) & 1;
}

int VirtualDevice::axisCount() const {
    int count = 0;
    for (int axis = 0; axis < kAxisSlots; ++axis) count += hasAxisAtOffset(axis * sizeof(LONG));
    return count;
}

void VirtualDevice::fillInstance(DIDEVICEINSTANCEA& out, DWORD size) const {
    std::memset(&out, 0, size);
    out.dwSize = size;
    out.guidInstance = instance;
    out.guidProduct = product;
    out.dwDevType = devType();
    // Names longer than the fixed fields are cut, never overrun.
    std::snprintf(out.tszInstanceName, sizeof out.tszInstanceName, "%s", name.c_str());
    std::snprintf(out.tszProductName, sizeof out.tszProductName, "%s", name.c_str());
}

void VirtualDevice::readState(void* out, DWORD size) const {
    std::memset(out, 0, size);
    if (keyboard) {
        std::memcpy(out, keys.data(), std::min<size_t>(size, keys.size()));
        return;
    }
    // DIJOYSTATE is a prefix of DIJOYSTATE2, so one layout serves both joystick formats.
    DIJOYSTATE2 joy{};
    joy.lX = axes[0];
    joy.lY = axes[1];
    joy.lZ = axes[2];
    joy.lRx = axes[3];
    joy.lRy = axes[4];
    joy.lRz = axes[5];
    joy.rglSlider[0] = axes[6];
    joy.rglSlider[1] = axes[7];
    // A centred hat reads 0xFFFFFFFF, and so does one the device lacks; zero would mean "pushed up".
    for (int hat = 0; hat < kPovSlots; ++hat) joy.rgdwPOV[hat] = hat < hats ? povs[hat] : kCentredPov;
    std::copy(buttons.begin(), buttons.end(), joy.rgbButtons);
    std::memcpy(out, &joy, std::min<size_t>(size, sizeof joy));
}

State& State::instance() {
    // Never destroyed: device objects may still be released while the process shuts down.
    static State* state = new State;
    return *state;
}

void State::reset() {
    ++generation_;
    devices_.clear();
    faults_.clear();
    callCounts_.clear();
    enumerationDelayMs_ = 0;
    directInputsCreated_ = 0;
    devicesCreated_ = 0;
    for (ObjectRecord* record : objects_) record->acquired = false;
}

int State::addDevice(VirtualDevice device) {
    devices_.push_back(std::move(device));
    return deviceCount() - 1;
}

VirtualDevice* State::device(int index) {
    if (index < 0 || index >= deviceCount()) return nullptr;
    return &devices_[index];
}

VirtualDevice* State::deviceOf(const ObjectRecord& record) {
    return record.generation == generation_ ? device(record.device) : nullptr;
}

int State::findDevice(const GUID& instance) const {
    // An attached device wins over a detached one with the same GUID (a test re-plugging).
    int detachedMatch = kNoDevice;
    for (int i = 0; i < deviceCount(); ++i) {
        if (!IsEqualGUID(devices_[i].instance, instance)) continue;
        if (devices_[i].attached) return i;
        if (detachedMatch == kNoDevice) detachedMatch = i;
    }
    return detachedMatch;
}

int State::firstKeyboard() const {
    for (int i = 0; i < deviceCount(); ++i)
        if (devices_[i].keyboard) return i;
    return kNoDevice;
}

std::optional<HRESULT> State::enter(FakeDiCall call, int device, int detail) {
    ++callCounts_[{call, device}];
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->call != call) continue;
        if (it->device != kNoDevice && it->device != device) continue;
        if (it->detail != kAnyDetail && it->detail != detail) continue;
        HRESULT result = it->result;
        if (it->remaining > 0 && --it->remaining == 0) faults_.erase(it);
        return result;
    }
    return std::nullopt;
}

void State::armFault(int call, int device, int detail, HRESULT result, int times) {
    if (times == 0) return;
    faults_.push_back(Fault{call, device, detail, result, times < 0 ? -1 : times});
}

int State::callCount(int call, int device) const {
    int total = 0;
    for (const auto& [key, count] : callCounts_)
        if (key.first == call && (device == kNoDevice || key.second == device)) total += count;
    return total;
}

void State::registerObject(ObjectRecord* record) {
    record->generation = generation_;
    objects_.insert(record);
}

void State::loseAcquisition(int device) {
    for (ObjectRecord* record : objects_)
        if (record->isDevice && record->generation == generation_ && record->device == device)
            record->acquired = false;
}

FakeDiEffects State::effectsOf(int index) const {
    const VirtualDevice* target = index >= 0 && index < deviceCount() ? &devices_[index] : nullptr;
    if (!target) return FakeDiEffects{};
    FakeDiEffects out = target->effects;
    for (const ObjectRecord* record : objects_) {
        if (!record->owner || record->generation != generation_ || record->device != index) continue;
        ++out.live;
        // An effect plays from its Start until its Stop, within the acquisition it was downloaded
        // in: unacquiring unloads it, and an unplugged pad plays nothing.
        const uint64_t acquisition = record->owner->exclusiveAcquisition();
        if (record->started && target->attached && acquisition != 0 && acquisition == record->downloadedIn)
            ++out.playing;
    }
    return out;
}

FakeDiCounters State::counters() const {
    FakeDiCounters out{};
    out.enumerations = callCount(FAKEDI_CALL_ENUM_DEVICES, kNoDevice);
    out.directInputsCreated = directInputsCreated_;
    out.devicesCreated = devicesCreated_;
    out.acquireCalls = callCount(FAKEDI_CALL_ACQUIRE, kNoDevice);
    out.getDeviceStateCalls = callCount(FAKEDI_CALL_GET_DEVICE_STATE, kNoDevice);
    out.pollCalls = callCount(FAKEDI_CALL_POLL, kNoDevice);
    // Objects that outlived a reset are no longer counted: the counters start again from zero.
    for (const ObjectRecord* record : objects_) {
        if (record->generation != generation_) continue;
        ++out.liveObjects;
        out.references += record->references;
        if (record->isDevice) {
            ++out.liveDevices;
            if (record->acquired) ++out.acquiredNow;
        }
    }
    return out;
}

}  // namespace fakedi
