// The decimal text in which every setting is stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The text of a stored value: up to its first NUL or the end of the data, whichever comes first.
// Never reads past `length`, so a value that fills the read buffer without a terminator is safe.
std::string_view StoredText(const char* data, size_t length);

// Parses like the C runtime's atoi: leading white space, an optional sign, then digits up to the
// first non-digit; no digits gives 0. Values beyond 32 bits saturate, as Windows' atoi does.
int32_t ParseDecimal(std::string_view text);

// Prints like "%d" into `buffer` (terminated); returns the text's length.
size_t FormatDecimal(int32_t value, char* buffer, size_t size);
