#include "registry_fixture.h"

#include <vector>

namespace TestRegistry {

namespace {
std::string FullPath(const std::string& subkey) {
    return subkey.empty() ? kPluginKey : std::string(kPluginKey) + "\\" + subkey;
}
}  // namespace

void DeletePluginKey() { RegDeleteTreeA(HKEY_CURRENT_USER, kPluginKey); }

bool PluginKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kPluginKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

void WriteRaw(const std::string& subkey, const std::string& name, const std::string& data, DWORD type) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, FullPath(subkey).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                   static_cast<DWORD>(data.size()));
    RegCloseKey(key);
}

void WriteNumber(const std::string& subkey, const std::string& name, int value) {
    const std::string text = std::to_string(value);
    WriteRaw(subkey, name, std::string(text.c_str(), text.size() + 1));
}

void WriteRecord(const std::string& subkey, const ControllerConfig& record) {
    for (const ConfigField& field : kStoredFieldOrder) WriteNumber(subkey, field.name, record.*field.member);
    for (const TuningField& field : kTuningFields) WriteNumber(subkey, field.name, record.*field.member);
}

std::optional<std::string> ReadRaw(const std::string& subkey, const std::string& name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, FullPath(subkey).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring wideName(name.begin(), name.end());
    DWORD type = 0, size = 0;
    std::optional<std::string> result;
    if (RegQueryValueExW(key, wideName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
        std::vector<wchar_t> data(size / sizeof(wchar_t) + 1);
        RegQueryValueExW(key, wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        result = std::string(data.begin(), data.begin() + size / sizeof(wchar_t));  // ASCII texts only
    }
    RegCloseKey(key);
    return result;
}

}  // namespace TestRegistry
