// The lines the netplay flow writes to its log window. The library may hand over null texts; they
// are logged as empty ones.
#pragma once

#include <cstdint>
#include <string>

struct OutOfStep;

std::string GameStartLine(const char* gameName, int32_t localController);
std::string GameOverLine(const char* gameName);
std::string ChatLine(const char* playerName, const char* text);
std::string PlayerDroppedLine(const char* playerName, int32_t playerNumber);
// The full-speed game: its input delay once known, and why it stopped out of step (also the box).
std::string InputDelayLine(int32_t frames);
std::string OutOfStepText(const OutOfStep& fault);

inline constexpr const char* kBootedLine = "You have been booted out...\r\n";
inline constexpr const char* kTimeOutText = "Error : Kaillera return fatal TimeOut.. You're too low, man !!!\r\n";
inline constexpr const char* kTooManyPlayersText = "Sorry there're too lots of players for me : only 4 max !!!";
inline constexpr const char* kReplayQuestion =
    "Argh, you try to (re)play a game without reloaded it\nThis is not suitable for rest of playing...\n"
    "I prevent this but do you want to continue ?";
