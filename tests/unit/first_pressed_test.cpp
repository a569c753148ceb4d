#include "ui/first_pressed.h"

#include "config/joystick_codes.h"

#include <gtest/gtest.h>

namespace {

constexpr uint32_t kAllAxes = 0xFF;
constexpr uint32_t kCentred = 0xFFFFFFFF;

JoystickSnapshot Idle() {
    JoystickSnapshot joystick = {};
    for (auto& pov : joystick.pov) pov = kCentred;
    return joystick;
}

TEST(JoystickCapture, TakesButtonsFirstThenAxesThenHats) {
    const JoystickSnapshot rest = Idle();
    JoystickSnapshot now = rest;
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), std::nullopt);
    now.pov[2] = 4500;  // a diagonal takes the first of its two directions
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), HatCode(2, HatUp));
    now.ry = -40;
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), AxisCode(JoystickAxisRy, false));
    now.buttons[3] = 0x80;
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), 3);
}

TEST(JoystickCapture, AnAxisCountsOnlyPastHalfDeflectionAwayFromItsRest) {
    JoystickSnapshot rest = Idle();
    rest.z = -64;  // a trigger resting at one end
    rest.rx = 20;  // a worn stick resting off centre
    JoystickSnapshot now = rest;
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), std::nullopt);  // Z- reads pressed, but did not move
    now.rx = 50;  // past half deflection, yet only 30 away from its rest
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), std::nullopt);
    now.z = 0;  // moved 64 but not past half deflection: would not read as pressed
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), std::nullopt);
    now.z = 40;
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), AxisCode(JoystickAxisZ, true));
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes & ~(1u << JoystickAxisZ)), std::nullopt);
    now.rx = -60;
    EXPECT_EQ(FirstJoystickInput(rest, now, 127, kAllAxes), std::nullopt);  // half of 127 is 63
    EXPECT_EQ(FirstJoystickInput(rest, now, 64, kAllAxes), AxisCode(JoystickAxisZ, true));
}

}  // namespace
