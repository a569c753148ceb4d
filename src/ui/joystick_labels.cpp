#include "ui/joystick_labels.h"

#include "config/controller_config.h"

#include <cstdio>

const char* const kAxisChoices[kAxisChoiceCount] = {
    "Axe X", "Inversed Axe X", "Axe Y", "Inversed Axe Y", "Axe Z", "Inversed Axe Z", kUseButtonsChoice,
};

std::string ButtonLabel(int32_t button) {
    char text[24];
    std::snprintf(text, sizeof text, "Button %2d", static_cast<int>(button));
    return text;
}

bool SelectorUsesButtons(int32_t selector) { return selector == UseButtons || selector == UseButtonsStored; }
