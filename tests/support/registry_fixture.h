// The plug-in's registry key in the throwaway test prefix.
#pragma once

#include "config/controller_config.h"

#include <windows.h>

#include <optional>
#include <string>

namespace TestRegistry {
inline constexpr const char* kPluginKey = "Software\\Tavik\\Tavik_Di";

// Removes the plug-in's key and everything under it.
void DeletePluginKey();
bool PluginKeyExists();
// Writes a value with exactly `data` as its bytes (no terminator added). REG_BINARY keeps Wine
// from adding a terminator of its own when the value is read back as text.
void WriteRaw(const std::string& subkey, const std::string& name, const std::string& data, DWORD type = REG_SZ);
// Writes the decimal text with its terminator, as a saved controller value is.
void WriteNumber(const std::string& subkey, const std::string& name, int value);
// Writes a record's numbers as a save would (its device identity aside).
void WriteRecord(const std::string& subkey, const ControllerConfig& record);
// The characters a text value holds as stored (read through the wide API, which adds nothing), or
// nothing when it is missing.
std::optional<std::string> ReadRaw(const std::string& subkey, const std::string& name);
}  // namespace TestRegistry
