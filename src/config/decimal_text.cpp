#include "config/decimal_text.h"

#include <cstdio>
#include <cstring>

std::string_view StoredText(const char* data, size_t length) {
    const void* nul = std::memchr(data, '\0', length);
    return {data, nul ? static_cast<size_t>(static_cast<const char*>(nul) - data) : length};
}

int32_t ParseDecimal(std::string_view text) {
    size_t i = 0;
    auto isSpace = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < text.size() && isSpace(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    constexpr int64_t kLimit = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit) magnitude = kLimit;  // keep going, the result is already saturated
    }
    if (negative) return static_cast<int32_t>(-magnitude);
    return static_cast<int32_t>(magnitude > INT32_MAX ? INT32_MAX : magnitude);
}

size_t FormatDecimal(int32_t value, char* buffer, size_t size) {
    const int written = std::snprintf(buffer, size, "%d", static_cast<int>(value));
    return written < 0 ? 0 : static_cast<size_t>(written);
}
