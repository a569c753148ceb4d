#include "config/registry_settings.h"

#include "config/decimal_text.h"
#include "framework/unique_handle.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

constexpr const char* kPluginKey = "Software\\Tavik\\Tavik_Di";
constexpr const char* kNetplayKey = "Kaillera";
constexpr DWORD kReadBufferSize = 260;
constexpr DWORD kControllerValueSize = 256;

// Reads one value as text. Missing, empty and over-long values all count as absent.
class StoredValue {
public:
    bool Read(HKEY key, const char* name) {
        DWORD length = kReadBufferSize;
        const LONG status =
            RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer_), &length);
        if (status != ERROR_SUCCESS || length == 0) return false;
        // A value that exactly fills the buffer has no terminator: the text is bounded by the length.
        text_ = StoredText(buffer_, length < kReadBufferSize ? length : kReadBufferSize);
        return true;
    }
    std::string_view Text() const { return text_; }
    int32_t Number() const { return ParseDecimal(text_); }

private:
    char buffer_[kReadBufferSize];
    std::string_view text_;
};

UniqueRegistryKey ConnectCurrentUser() {
    UniqueRegistryKey root;
    if (RegConnectRegistryA(nullptr, HKEY_CURRENT_USER, root.Put()) != ERROR_SUCCESS) root.Detach();
    return root;
}

UniqueRegistryKey OpenKey(HKEY parent, const char* name) {
    UniqueRegistryKey key;
    if (RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, key.Put()) != ERROR_SUCCESS) key.Detach();
    return key;
}

UniqueRegistryKey OpenOrCreateKey(HKEY parent, const char* name) {
    UniqueRegistryKey key = OpenKey(parent, name);
    if (!key && RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                                key.Put(), nullptr) != ERROR_SUCCESS)
        key.Detach();
    return key;
}

void ControllerKeyName(int index, char (&name)[16]) { std::snprintf(name, sizeof name, "Controller%d", index); }

void WriteText(HKEY key, const char* name, const char* text, DWORD length) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), length);
}

}  // namespace

void LoadControllerMapping(ControllerConfig& record, HKEY key) {
    ApplyKeyboardDefaults(record);  // every value missing from storage keeps its default
    StoredValue value;
    for (const ConfigField& field : kStoredFieldOrder)
        if (value.Read(key, field.name)) record.*field.member = value.Number();
    for (const TuningField& field : kTuningFields)
        record.*field.member = value.Read(key, field.name) ? value.Number() : field.defaultValue;
    record.DeviceGuid = value.Read(key, kDeviceGuidValue) ? ParseDeviceIdentity(value.Text()) : DeviceIdentity{};
}

namespace {
// Every controller value is written as 256 bytes: the text, its terminator, and zero filler.
void WriteControllerValue(HKEY key, const char* name, std::string_view text) {
    char data[kControllerValueSize] = {};
    std::memcpy(data, text.data(), text.size() < kControllerValueSize ? text.size() : kControllerValueSize - 1);
    WriteText(key, name, data, kControllerValueSize);
}

void WriteControllerNumber(HKEY key, const char* name, int32_t value) {
    char text[16];
    WriteControllerValue(key, name, {text, FormatDecimal(value, text, sizeof text)});
}
}  // namespace

void SaveControllerMapping(const ControllerConfig& record, HKEY key) {
    for (const ConfigField& field : kStoredFieldOrder) WriteControllerNumber(key, field.name, record.*field.member);
    for (const TuningField& field : kTuningFields) WriteControllerNumber(key, field.name, record.*field.member);
    // Empty text when no device is known, so that a stale identity is not left behind.
    char identity[kDeviceIdentityTextSize] = {};
    if (!IsEmpty(record.DeviceGuid)) FormatDeviceIdentity(record.DeviceGuid, identity);
    WriteControllerValue(key, kDeviceGuidValue, identity);
}

void LoadNetplaySettings(NetplaySettings& settings, HKEY key) {
    StoredValue value;
    if (value.Read(key, "PlayAs")) settings.PlayAs = value.Number();
    if (value.Read(key, "ViewLog")) settings.ViewLog = value.Number() > 0;
    if (value.Read(key, "Dll")) SetDllPath(settings, value.Text());
}

void SaveNetplaySettings(const NetplaySettings& settings, HKEY key) {
    char text[16];
    WriteText(key, "PlayAs", text, static_cast<DWORD>(FormatDecimal(settings.PlayAs, text, sizeof text)));
    WriteText(key, "ViewLog", text, static_cast<DWORD>(FormatDecimal(settings.ViewLog ? 1 : 0, text, sizeof text)));
    WriteText(key, "Dll", settings.Dll, static_cast<DWORD>(strnlen(settings.Dll, sizeof settings.Dll)));
}

void LoadConfiguration(ControllerConfigs& controllers, NetplaySettings& netplay) {
    const UniqueRegistryKey root = ConnectCurrentUser();
    if (!root) return;
    const UniqueRegistryKey plugin = OpenKey(root.Get(), kPluginKey);
    if (!plugin) return;  // first run: nothing stored, and a load never creates the key

    if (const UniqueRegistryKey key = OpenKey(plugin.Get(), kNetplayKey)) LoadNetplaySettings(netplay, key.Get());

    for (int n = 0; n < kControllerCount; ++n) {
        char name[16];
        ControllerKeyName(n, name);
        if (const UniqueRegistryKey controller = OpenKey(plugin.Get(), name))
            LoadControllerMapping(controllers[n], controller.Get());
        else
            controllers[n].DIDevice = kNoDevice;
    }
}

void SaveConfiguration(const ControllerConfigs& controllers, const NetplaySettings& netplay) {
    const UniqueRegistryKey root = ConnectCurrentUser();
    if (!root) return;
    const UniqueRegistryKey plugin = OpenOrCreateKey(root.Get(), kPluginKey);
    if (!plugin) return;

    if (const UniqueRegistryKey key = OpenOrCreateKey(plugin.Get(), kNetplayKey)) SaveNetplaySettings(netplay, key.Get());

    for (int n = 0; n < kControllerCount; ++n) {
        char name[16];
        ControllerKeyName(n, name);
        if (const UniqueRegistryKey controller = OpenOrCreateKey(plugin.Get(), name))
            SaveControllerMapping(controllers[n], controller.Get());
    }
}
