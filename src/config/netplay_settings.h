// The netplay options kept beside the four mappings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

inline constexpr size_t kDllPathSize = 256;  // 255 characters and the terminator

struct NetplaySettings {
    bool Enabled = false;  // never stored: every start begins with netplay off
    int32_t PlayAs = 4;    // 4 names none of the mappings until the user picks one
    bool ViewLog = false;
    char Dll[kDllPathSize] = ".\\kailleraclient.dll";
};

// Stores at most 255 characters of `path`, always terminated.
void SetDllPath(NetplaySettings& settings, std::string_view path);
