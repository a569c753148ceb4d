// Everything the fake DirectInput objects and the control exports share: the virtual devices,
// armed faults, call counts and the bookkeeping of live COM objects. One mutex guards all of it,
// because a test thread changes key state while the plug-in reads on its own thread.
#pragma once

#define DIRECTINPUT_VERSION 0x0700
#include <windows.h>
#include <dinput.h>

#include <array>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "fake_dinput_control.h"

namespace fakedi {

constexpr int kNoDevice = -1;
constexpr int kAnyDetail = -1;
constexpr int kJoystickButtons = 32;  // what DIJOYSTATE carries; also the reported capability
constexpr LONG kDefaultRangeMin = 0;
constexpr LONG kDefaultRangeMax = 0xFFFF;
constexpr int kAxisSlots = 8;  // X, Y, Z, Rx, Ry, Rz, slider 0, slider 1: the DIJOYSTATE axes in order
constexpr int kPovSlots = 4;
constexpr DWORD kCentredPov = 0xFFFFFFFF;  // what a centred hat, or one the device lacks, reads
constexpr uint32_t kXYAxes = 0x3, kXYZAxes = 0x7;

struct AxisRange {
    LONG minimum;
    LONG maximum;
};

struct VirtualDevice {
    bool keyboard = false;
    uint32_t axisMask = 0;  // bit n: axis slot n exists as an object
    int hats = 0;
    bool attached = true;
    std::string name;
    std::string path;  // the HID device path DIPROP_GUIDANDPATH gives; empty: the property fails
    GUID instance{};
    GUID product{};
    std::array<BYTE, 256> keys{};
    std::array<BYTE, 128> buttons{};
    std::array<LONG, kAxisSlots> axes{};
    std::array<DWORD, kPovSlots> povs{kCentredPov, kCentredPov, kCentredPov, kCentredPov};
    std::map<DWORD, AxisRange> ranges;  // by data format offset, the last one set
    std::map<DWORD, DWORD> deadZones;   // likewise, DIPROP_DEADZONE in 1/10000 of the range
    DWORD cooperativeFlags = 0;
    HWND cooperativeWindow = nullptr;
    bool forceFeedback = false;  // reported as DIDC_FORCEFEEDBACK; effects can be created
    FakeDiEffects effects{};     // calls on its effects; `live` and `playing` are counted when asked

    DWORD devType() const;
    // Axes that exist as objects (for properties and enumeration): those in axisMask.
    bool hasAxisAtOffset(DWORD offset) const;
    int axisCount() const;
    void fillInstance(DIDEVICEINSTANCEA& out, DWORD size) const;
    // Writes the device state in the layout of the standard keyboard / joystick formats.
    void readState(void* out, DWORD size) const;
};

// Per COM object bookkeeping, embedded in each object and owned by it; the state only keeps a
// pointer while the object is alive.
struct ObjectRecord {
    bool isDevice = false;
    LONG references = 1;
    bool acquired = false;
    uint64_t generation = 0;  // objects from before the last reset refer to nothing
    int device = kNoDevice;
    // Devices: exclusive cooperative level, and which acquisition they are in (counted from 1).
    bool exclusive = false;
    uint64_t acquisition = 0;
    // Effects: the device object that made them (kept alive by them), started by the program, and
    // downloaded in which acquisition of it (0: not downloaded).
    const ObjectRecord* owner = nullptr;
    bool started = false;
    uint64_t downloadedIn = 0;

    // A device's acquisition in which effects may be downloaded, started and stopped, or 0.
    uint64_t exclusiveAcquisition() const { return acquired && exclusive ? acquisition : 0; }
};

class State {
public:
    static State& instance();

    std::unique_lock<std::mutex> lock() { return std::unique_lock<std::mutex>(mutex_); }

    // All members below expect the caller to hold lock().

    void reset();
    int addDevice(VirtualDevice device);
    VirtualDevice* device(int index);
    // Null when the object predates a reset or its device index is gone.
    VirtualDevice* deviceOf(const ObjectRecord& record);
    int findDevice(const GUID& instance) const;
    int firstKeyboard() const;
    int deviceCount() const { return static_cast<int>(devices_.size()); }
    uint64_t generation() const { return generation_; }

    // Counts the call, then consumes the first matching armed fault and returns its result.
    std::optional<HRESULT> enter(FakeDiCall call, int device, int detail = kAnyDetail);
    void armFault(int call, int device, int detail, HRESULT result, int times);
    void clearFaults() { faults_.clear(); }
    int callCount(int call, int device) const;

    void registerObject(ObjectRecord* record);
    void unregisterObject(ObjectRecord* record) { objects_.erase(record); }
    // Drops acquisition of every object on `device`, as unplugging does.
    void loseAcquisition(int device);

    // How long each EnumDevices takes, as a slow driver or Wine's own DirectInput make it.
    DWORD enumerationDelayMs() const { return enumerationDelayMs_; }
    void setEnumerationDelay(DWORD ms) { enumerationDelayMs_ = ms; }

    void noteDirectInputCreated() { ++directInputsCreated_; }
    void noteDeviceCreated() { ++devicesCreated_; }
    FakeDiCounters counters() const;
    // The effects of `device` as FakeDi_GetEffects reports them.
    FakeDiEffects effectsOf(int device) const;

private:
    struct Fault {
        int call;
        int device;
        int detail;
        HRESULT result;
        int remaining;  // negative: forever
    };

    std::mutex mutex_;
    uint64_t generation_ = 1;
    std::vector<VirtualDevice> devices_;
    std::vector<Fault> faults_;
    std::map<std::pair<int, int>, int> callCounts_;  // (call, device) -> count
    std::set<ObjectRecord*> objects_;
    DWORD enumerationDelayMs_ = 0;
    int directInputsCreated_ = 0;
    int devicesCreated_ = 0;
};

}  // namespace fakedi
