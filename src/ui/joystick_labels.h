// What the joystick dialog shows for a mapping: input labels and the stick's axis choices.
#pragma once

#include <cstdint>
#include <string>

// "Button %2d" for a button and for any code no joystick input has (the raw value, so a stored
// value out of range is visible as it is); "Axis Rx+" for an axis direction, "Hat 0 Up" for a hat.
std::string ButtonLabel(int32_t code);

struct AxisChoice {
    const char* text;
    int32_t selector;
};
// The entries of both axis lists, in list order: the original seven at the position equal to their
// selector value, then the further axes (selector 7 means no axis and has no entry).
inline constexpr int kAxisChoiceCount = 17;
extern const AxisChoice kAxisChoices[kAxisChoiceCount];
// The position in `choices` (a joystick's list unless given) showing `selector`, or -1 when no
// entry does.
int AxisChoicePosition(int32_t selector, const AxisChoice* choices = kAxisChoices, int count = kAxisChoiceCount);

inline constexpr const char* kUseButtonsChoice = "Use Buttons";
inline constexpr const char* kUnusedLabel = "(unused)";
