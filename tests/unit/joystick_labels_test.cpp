#include "ui/joystick_labels.h"
#include "ui/xinput_labels.h"

#include "config/controller_config.h"
#include "config/joystick_codes.h"

#include <gtest/gtest.h>

namespace {

TEST(JoystickLabelsTest, ButtonLabelShowsTheRawIndexInTwoColumns) {
    EXPECT_EQ(ButtonLabel(0), "Button  0");
    EXPECT_EQ(ButtonLabel(9), "Button  9");
    EXPECT_EQ(ButtonLabel(31), "Button 31");
    EXPECT_EQ(ButtonLabel(-1), "Button -1");
    EXPECT_EQ(ButtonLabel(INT32_MIN), "Button -2147483648");
    // Axis and hat codes are named; codes between and beyond them stay raw.
    EXPECT_EQ(ButtonLabel(AxisCode(JoystickAxisRx, true)), "Axis Rx+");
    EXPECT_EQ(ButtonLabel(AxisCode(JoystickAxisX, false)), "Axis X-");
    EXPECT_EQ(ButtonLabel(AxisCode(JoystickAxisSlider1, true)), "Axis Slider1+");
    EXPECT_EQ(ButtonLabel(HatCode(0, HatUp)), "Hat 0 Up");
    EXPECT_EQ(ButtonLabel(HatCode(3, HatLeft)), "Hat 3 Left");
    EXPECT_EQ(ButtonLabel(1002), "Button 1002");
    EXPECT_EQ(ButtonLabel(1080), "Button 1080");
    EXPECT_EQ(ButtonLabel(2004), "Button 2004");
    EXPECT_EQ(ButtonLabel(2040), "Button 2040");
}

TEST(JoystickLabelsTest, OriginalAxisEntriesSitAtTheirSelectorAndNewOnesFollow) {
    const char* const original[] = {"Axe X", "Inversed Axe X", "Axe Y", "Inversed Axe Y",
                                    "Axe Z", "Inversed Axe Z", "Use Buttons"};
    for (int32_t selector = 0; selector <= UseButtons; ++selector) {
        EXPECT_STREQ(kAxisChoices[selector].text, original[selector]);
        EXPECT_EQ(AxisChoicePosition(selector), selector);
    }
    EXPECT_EQ(AxisChoicePosition(AxisRx), 7);
    EXPECT_STREQ(kAxisChoices[AxisChoicePosition(AxisSlider1Inverted)].text, "Inversed Axe Slider1");
    for (int32_t selector : {7, 18, -1, -2}) EXPECT_EQ(AxisChoicePosition(selector), -1) << selector;
}

TEST(JoystickLabelsTest, OnlySixAndMinusOneLeaveTheAxisToItsButtons) {
    EXPECT_TRUE(SelectorUsesButtons(6));
    EXPECT_TRUE(SelectorUsesButtons(-1));
    for (int32_t selector : {0, 1, 2, 3, 4, 5, 7, 9, -2}) EXPECT_FALSE(SelectorUsesButtons(selector)) << selector;
}

TEST(JoystickLabelsTest, XInputPadNamesItsOwnInputsAndAxes) {
    EXPECT_EQ(XInputLabel(0), "XInput A");
    EXPECT_EQ(XInputLabel(9), "XInput RS");
    EXPECT_EQ(XInputLabel(AxisCode(JoystickAxisZ, true)), "Left trigger");
    EXPECT_EQ(XInputLabel(AxisCode(JoystickAxisRz, true)), "Right trigger");
    EXPECT_EQ(XInputLabel(AxisCode(JoystickAxisRx, true)), "Right stick X+");
    EXPECT_EQ(XInputLabel(AxisCode(JoystickAxisY, false)), "Left stick Y+");  // up, as XInput counts it
    EXPECT_EQ(XInputLabel(HatCode(0, HatLeft)), "D-pad Left");
    EXPECT_EQ(XInputLabel(10), "Button 10");  // no such input on the pad: shown raw
    EXPECT_EQ(XInputLabel(AxisCode(JoystickAxisZ, false)), "Axis Z-");
    // "Left stick Y" pushes the N64 stick up when the pad's stick goes up.
    EXPECT_EQ(kXInputAxisChoices[2].selector, AxisYInverted);
    EXPECT_STREQ(kXInputAxisChoices[kXInputAxisChoiceCount - 1].text, "Use Buttons");
}

}  // namespace
