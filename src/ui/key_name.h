// The text by which the keyboard dialog names a DirectInput key code.
#pragma once

#include <cstdint>
#include <string>

// The key's name, or "DIK_(%3d)" for a code that has none.
std::string KeyName(int32_t code);
