// What the joystick dialog shows for a mapping: button labels and the stick's axis choices.
#pragma once

#include <cstdint>
#include <string>

// "Button %2d": the raw index, so a stored value out of range is visible as it is.
std::string ButtonLabel(int32_t button);

inline constexpr int kAxisChoiceCount = 7;
// The entries of both axis lists, in list order; an entry's position is its selector value.
extern const char* const kAxisChoices[kAxisChoiceCount];
inline constexpr const char* kUseButtonsChoice = "Use Buttons";
inline constexpr const char* kUnusedLabel = "(unused)";

// Whether the selector leaves the axis to its two stick-direction buttons (6, or -1 from storage).
bool SelectorUsesButtons(int32_t selector);
