// The games the plug-in offers the library, and the exchange each one plays. The classic game
// exchanges once per poll, as every other build does; the full-speed game exchanges once per round
// of polls and needs this plug-in on every side, which its name tells the players.
#pragma once

enum class ExchangeKind { PerPoll, PerRound };

inline constexpr char kClassicGameName[] = "Unknown N64 Game";
inline constexpr char kFullSpeedGameName[] = "Unknown N64 Game - full speed, Tavik_DI on every side";
// As the library takes it: each name ended by a NUL, the list by an empty name (the literal's own
// NUL).
inline constexpr char kOfferedGames[] = "Unknown N64 Game\0Unknown N64 Game - full speed, Tavik_DI on every side\0";

// The mode follows the game that started; a name we did not offer plays the classic exchange.
ExchangeKind ExchangeKindOfGame(const char* gameName);
