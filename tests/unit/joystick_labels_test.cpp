#include "ui/joystick_labels.h"

#include "config/controller_config.h"

#include <gtest/gtest.h>

namespace {

TEST(JoystickLabelsTest, ButtonLabelShowsTheRawIndexInTwoColumns) {
    EXPECT_EQ(ButtonLabel(0), "Button  0");
    EXPECT_EQ(ButtonLabel(9), "Button  9");
    EXPECT_EQ(ButtonLabel(31), "Button 31");
    EXPECT_EQ(ButtonLabel(-1), "Button -1");
    EXPECT_EQ(ButtonLabel(INT32_MIN), "Button -2147483648");
}

TEST(JoystickLabelsTest, AxisListPositionIsTheSelectorValue) {
    EXPECT_STREQ(kAxisChoices[AxisX], "Axe X");
    EXPECT_STREQ(kAxisChoices[AxisXInverted], "Inversed Axe X");
    EXPECT_STREQ(kAxisChoices[AxisY], "Axe Y");
    EXPECT_STREQ(kAxisChoices[AxisYInverted], "Inversed Axe Y");
    EXPECT_STREQ(kAxisChoices[AxisZ], "Axe Z");
    EXPECT_STREQ(kAxisChoices[AxisZInverted], "Inversed Axe Z");
    EXPECT_STREQ(kAxisChoices[UseButtons], "Use Buttons");
}

TEST(JoystickLabelsTest, OnlySixAndMinusOneLeaveTheAxisToItsButtons) {
    EXPECT_TRUE(SelectorUsesButtons(6));
    EXPECT_TRUE(SelectorUsesButtons(-1));
    for (int32_t selector : {0, 1, 2, 3, 4, 5, 7, 9, -2}) EXPECT_FALSE(SelectorUsesButtons(selector)) << selector;
}

}  // namespace
