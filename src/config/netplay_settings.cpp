#include "config/netplay_settings.h"

#include <cstring>

void SetDllPath(NetplaySettings& settings, std::string_view path) {
    const size_t length = path.size() < kDllPathSize - 1 ? path.size() : kDllPathSize - 1;
    std::memcpy(settings.Dll, path.data(), length);
    std::memset(settings.Dll + length, 0, kDllPathSize - length);
}
