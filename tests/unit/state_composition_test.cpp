#include "plugin/state_composition.h"

#include "input/xinput/xinput_gamepad.h"

#include <gtest/gtest.h>

#include <array>
#include <initializer_list>

static bool operator==(const ButtonState& a, const ButtonState& b) {
    return a.buttons == b.buttons && a.stickX == b.stickX && a.stickY == b.stickY;
}

namespace {

constexpr int kDikUp = 0xC8, kDikDown = 0xD0, kDikLeft = 0xCB, kDikRight = 0xCD;
constexpr int kDikHome = 0xC7, kDikLShift = 0x2A, kDikA = 0x1E, kDikS = 0x1F;

ControllerConfig KeyboardDefault() {
    ControllerConfig record{};
    record.DIDevice = 0;
    ApplyKeyboardDefaults(record);
    return record;
}

ButtonState WithKeys(const ControllerConfig& record, std::initializer_list<int> codes) {
    KeyboardSnapshot keys = {};
    for (int code : codes) keys[code] = 0x80;
    return ComposeFromKeyboard(record, keys);
}

JoystickSnapshot WithButtons(std::initializer_list<int> buttons) {
    JoystickSnapshot joystick = {};
    for (auto& pov : joystick.pov) pov = 0xFFFFFFFF;  // centred, as DirectInput reports it
    for (int button : buttons) joystick.buttons[button] = 0x80;
    return joystick;
}

TEST(KeyboardComposition, OppositeStickKeysLetDownAndRightWin) {
    const ControllerConfig record = KeyboardDefault();
    ButtonState state = WithKeys(record, {kDikUp, kDikDown});
    EXPECT_EQ(state.stickY, -64);
    EXPECT_EQ(state.stickX, 0);
    EXPECT_EQ(state.buttons, 0);
    state = WithKeys(record, {kDikLeft, kDikRight});
    EXPECT_EQ(state.stickX, 64);
    EXPECT_EQ(WithKeys(record, {kDikUp}).stickY, 64);
    EXPECT_EQ(WithKeys(record, {kDikLeft}).stickX, -64);
}

TEST(KeyboardComposition, ButtonKeysSetTheirBitsWithLeftTriggerOnBit12) {
    const ControllerConfig record = KeyboardDefault();
    EXPECT_EQ(WithKeys(record, {kDikHome, kDikLShift, kDikA}).buttons, 0x1088);
    EXPECT_EQ(WithKeys(record, {kDikS}).buttons, ButtonBit::TriggerRight);
}

TEST(KeyboardComposition, EveryButtonFieldDrivesExactlyItsOwnBit) {
    const ControllerConfig record = KeyboardDefault();
    const std::pair<int32_t ControllerConfig::*, uint16_t> fields[] = {
        {&ControllerConfig::PadRight, 0x0001}, {&ControllerConfig::PadLeft, 0x0002},
        {&ControllerConfig::PadDown, 0x0004},  {&ControllerConfig::PadUp, 0x0008},
        {&ControllerConfig::ButtonStart, 0x0010}, {&ControllerConfig::TriggerZ, 0x0020},
        {&ControllerConfig::ButtonB, 0x0040},  {&ControllerConfig::ButtonA, 0x0080},
        {&ControllerConfig::ButtonRight, 0x0100}, {&ControllerConfig::ButtonLeft, 0x0200},
        {&ControllerConfig::ButtonDown, 0x0400}, {&ControllerConfig::ButtonUp, 0x0800},
        {&ControllerConfig::TriggerLeft, 0x1000}, {&ControllerConfig::TriggerRight, 0x2000},
    };
    for (const auto& [member, bit] : fields) {
        const ButtonState state = WithKeys(record, {record.*member});
        EXPECT_EQ(state.buttons, bit) << "code " << record.*member;
        EXPECT_EQ(state.stickX, 0);
        EXPECT_EQ(state.stickY, 0);
    }
}

TEST(KeyboardComposition, CodesOutsideTheSnapshotNeverReadAsPressed) {
    ControllerConfig record = KeyboardDefault();
    record.ButtonA = 256;
    record.ButtonB = -8;
    record.StickUp = 1000;
    KeyboardSnapshot keys;
    for (auto& key : keys) key = 0x80;  // everything held
    const ButtonState state = ComposeFromKeyboard(record, keys);
    EXPECT_EQ(state.buttons & (ButtonBit::A | ButtonBit::B), 0);
    EXPECT_EQ(state.stickY, -64);  // only StickDown counts
}

TEST(KeyboardComposition, KeyCodeZeroIsNoKeyAndSelectorsAreIgnored) {
    ControllerConfig record{};  // all codes 0, selectors 0
    KeyboardSnapshot keys = {};
    keys[0] = 0x00;
    keys[0x2D] = 0x80;
    EXPECT_EQ(ComposeFromKeyboard(record, keys).buttons, 0);
    keys[0] = 0x7F;  // only bit 7 means down
    EXPECT_EQ(ComposeFromKeyboard(record, keys).buttons, 0);
}

struct SelectorCase {
    int32_t selector;
    int8_t expected;
};

// Each selector drives both stick bytes from `joystick`.
void ExpectSelectorsGive(const JoystickSnapshot& joystick, std::initializer_list<SelectorCase> cases) {
    ControllerConfig record{};
    for (const SelectorCase& c : cases) {
        record.StickLeftRight = c.selector;
        record.StickUpDown = c.selector;
        const ButtonState state = ComposeFromJoystick(record, joystick);
        EXPECT_EQ(state.stickX, c.expected) << "selector " << c.selector;
        EXPECT_EQ(state.stickY, c.expected) << "selector " << c.selector;
    }
}

TEST(JoystickComposition, SelectorsTakeTheLowByteOfTheirAxis) {
    JoystickSnapshot joystick = {};
    joystick.x = -64;
    joystick.y = 30;
    joystick.z = 0x140;  // low byte 0x40
    ExpectSelectorsGive(joystick, {{AxisX, -64}, {AxisXInverted, 64}, {AxisY, 30}, {AxisYInverted, -30},
                                   {AxisZ, 64}, {AxisZInverted, -64}, {7, 0}, {-2, 0}});
}

TEST(JoystickComposition, NegatingMostNegativeByteWrapsLikeTheHardwareWord) {
    ControllerConfig record{};
    record.StickLeftRight = AxisXInverted;
    JoystickSnapshot joystick = {};
    joystick.x = -128;
    EXPECT_EQ(ComposeFromJoystick(record, joystick).stickX, -128);
}

TEST(JoystickComposition, UseButtonsReadsStickButtonsForBothStoredCodes) {
    for (int32_t selector : {int32_t{UseButtons}, int32_t{UseButtonsStored}}) {
        ControllerConfig record{};
        record.StickUpDown = selector;
        record.StickLeftRight = selector;
        record.StickUp = 2;
        record.StickDown = 3;
        record.StickLeft = 4;
        record.StickRight = 5;
        EXPECT_EQ(ComposeFromJoystick(record, WithButtons({2, 3})).stickY, -64);
        EXPECT_EQ(ComposeFromJoystick(record, WithButtons({2})).stickY, 64);
        EXPECT_EQ(ComposeFromJoystick(record, WithButtons({4, 5})).stickX, 64);
        EXPECT_EQ(ComposeFromJoystick(record, WithButtons({4})).stickX, -64);
    }
}

TEST(JoystickComposition, AxisSelectorIgnoresTheStickButtons) {
    ControllerConfig record{};
    record.StickUpDown = AxisY;
    record.StickUp = 1;
    JoystickSnapshot joystick = WithButtons({1});
    joystick.y = 12;
    const ButtonState state = ComposeFromJoystick(record, joystick);
    EXPECT_EQ(state.stickY, 12);
    EXPECT_EQ(state.buttons, 0);
}

TEST(JoystickComposition, KeyboardDefaultOnAJoystickActsOnlyThroughButtonsBelow32) {
    const ControllerConfig record = KeyboardDefault();
    JoystickSnapshot joystick = {};
    for (auto& button : joystick.buttons) button = 0x80;
    const ButtonState state = ComposeFromJoystick(record, joystick);
    EXPECT_EQ(state.buttons, ButtonBit::B | ButtonBit::TriggerLeft | ButtonBit::TriggerRight);
}

TEST(JoystickComposition, AdaptoidLayoutMapsPadToN64) {
    ControllerConfig record{};
    ApplyAdaptoidDefaults(record, 1);
    JoystickSnapshot joystick = WithButtons({0, 8, 10});
    joystick.x = 20;
    joystick.y = 40;  // pad pushed down
    const ButtonState state = ComposeFromJoystick(record, joystick);
    EXPECT_EQ(state.buttons, ButtonBit::A | ButtonBit::Start | ButtonBit::PadUp);
    EXPECT_EQ(state.stickX, 20);
    EXPECT_EQ(state.stickY, -40);
}

TEST(JoystickComposition, FurtherSelectorsFollowRxRyRzAndTheSliders) {
    JoystickSnapshot joystick = {};
    joystick.rx = 10;
    joystick.ry = -20;
    joystick.rz = 30;
    joystick.sliders[0] = -40;
    joystick.sliders[1] = 127;
    ExpectSelectorsGive(joystick, {{AxisRx, 10}, {AxisRxInverted, -10}, {AxisRy, -20}, {AxisRyInverted, 20},
                                   {AxisRz, 30}, {AxisRzInverted, -30}, {AxisSlider0, -40}, {AxisSlider0Inverted, 40},
                                   {AxisSlider1, 127}, {AxisSlider1Inverted, -127}, {18, 0}});
}

TEST(JoystickComposition, AxisDirectionsPressPastHalfOfTheRange) {
    ControllerConfig record{};  // range 0 is out of bounds: the default 64, half deflection 32
    record.ButtonA = AxisCode(JoystickAxisRx, true);
    record.ButtonB = AxisCode(JoystickAxisRx, false);
    record.TriggerZ = AxisCode(JoystickAxisSlider1, true);
    JoystickSnapshot joystick = {};
    for (int32_t rx : {-64, -33, -32, 0, 32, 33, 64}) {
        joystick.rx = rx;
        const uint16_t buttons = ComposeFromJoystick(record, joystick).buttons;
        EXPECT_EQ(buttons, rx > 32 ? ButtonBit::A : rx < -32 ? ButtonBit::B : 0) << rx;
    }
    joystick.rx = 0;
    joystick.sliders[1] = 50;
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons, ButtonBit::TriggerZ);
    record.Range = 127;  // half deflection 63
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons, 0);
    joystick.sliders[1] = 64;
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons, ButtonBit::TriggerZ);
}

TEST(JoystickComposition, HatDirectionsPressTheirQuarterAndDiagonalsBothNeighbours) {
    ControllerConfig record{};
    record.PadUp = HatCode(1, HatUp);
    record.PadRight = HatCode(1, HatRight);
    record.PadDown = HatCode(1, HatDown);
    record.PadLeft = HatCode(1, HatLeft);
    using namespace ButtonBit;
    const struct {
        uint32_t pov;
        uint16_t expected;
    } cases[] = {{0, PadUp},           {4500, PadUp | PadRight},   {9000, PadRight}, {13500, PadRight | PadDown},
                 {18000, PadDown},     {27000, PadLeft},           {31500, PadLeft | PadUp}, {35999, PadUp},
                 {2000, PadUp},        {0xFFFFFFFF, 0},            {0xFFFF, 0},      {36000, 0}};
    for (const auto& c : cases) {
        JoystickSnapshot joystick = {};
        joystick.pov[1] = c.pov;
        EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons, c.expected) << "pov " << c.pov;
    }
}

TEST(JoystickComposition, PadLayoutPlaysATwoStickPad) {
    ControllerConfig record{};
    record.DeadZone = 10;
    record.Range = 100;
    ApplyPadDefaults(record, 2);
    EXPECT_EQ(record.DIDevice, 2);
    EXPECT_EQ(record.DeadZone, 10);  // the device's tuning is not part of a layout
    EXPECT_EQ(record.Range, 100);
    JoystickSnapshot joystick = WithButtons({0, 2, 4, 5, 7});
    joystick.x = -30;
    joystick.y = 60;  // left stick pushed down
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons,
              ButtonBit::A | ButtonBit::B | ButtonBit::TriggerLeft | ButtonBit::TriggerRight | ButtonBit::Start);
    EXPECT_EQ(ComposeFromJoystick(record, joystick).stickX, -30);
    EXPECT_EQ(ComposeFromJoystick(record, joystick).stickY, -60);
    joystick = WithButtons({});
    joystick.ry = -100;  // right stick up and right, left trigger, hat down
    joystick.rx = 100;
    joystick.z = 100;
    joystick.pov[0] = 18000;
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons,
              ButtonBit::CUp | ButtonBit::CRight | ButtonBit::TriggerZ | ButtonBit::PadDown);
    joystick = WithButtons({});
    joystick.ry = 100;
    joystick.rx = -100;
    joystick.pov[0] = 27000;
    EXPECT_EQ(ComposeFromJoystick(record, joystick).buttons, ButtonBit::CDown | ButtonBit::CLeft | ButtonBit::PadLeft);
}

TEST(JoystickComposition, NewCodesNeverPressAKey) {
    ControllerConfig record{};
    ApplyPadDefaults(record, 0);
    KeyboardSnapshot keys;
    for (auto& key : keys) key = 0x80;
    // The stick keys are 0 in the layout; only button numbers below 256 can name keys.
    EXPECT_EQ(ComposeFromKeyboard(record, keys).buttons,
              ButtonBit::A | ButtonBit::B | ButtonBit::TriggerLeft | ButtonBit::TriggerRight | ButtonBit::Start);
}

// An XInput pad read through the pad layout gives the word the same pad gives through DirectInput,
// where the triggers share the Z axis (the left one towards +) and the Y axes grow downwards.
TEST(XInputComposition, PadLayoutGivesTheWordsOfTheSamePadThroughDirectInput) {
    ControllerConfig record{};
    ApplyPadDefaults(record, 100);
    const auto compose = [&](const XInputGamepad& pad) {
        JoystickSnapshot joystick;
        ReadXInputSnapshot(pad, EffectiveRange(record), EffectiveDeadZone(record), joystick);
        return ComposeFromJoystick(record, joystick);
    };
    JoystickSnapshot direct = WithButtons({0, 2, 4, 5, 7});
    direct.x = -64;
    direct.y = 64;
    const ButtonState faces = compose({XInputButton::A | XInputButton::X | XInputButton::LeftShoulder |
                                           XInputButton::RightShoulder | XInputButton::Start,
                                       0, 0, -32768, -32768, 0, 0});
    EXPECT_EQ(faces.buttons, ComposeFromJoystick(record, direct).buttons);
    EXPECT_EQ(faces.stickX, -64);
    EXPECT_EQ(faces.stickY, -64);
    EXPECT_EQ(compose({0, 0, 0, 32767, 32767, 0, 0}).stickY, 64);

    direct = WithButtons({});
    direct.rx = 64;
    direct.ry = -64;
    direct.z = 64;
    direct.pov[0] = 4500;
    const ButtonState rest = compose({XInputButton::DPadUp | XInputButton::DPadRight, 255, 0, 0, 0, 32767, 32767});
    EXPECT_EQ(rest, ComposeFromJoystick(record, direct));
    EXPECT_EQ(rest.buttons, ButtonBit::CRight | ButtonBit::CUp | ButtonBit::TriggerZ | ButtonBit::PadUp | ButtonBit::PadRight);
    // Idle pad: no bit, centred stick; opposite d-pad directions cancel.
    EXPECT_EQ(compose({XInputButton::DPadUp | XInputButton::DPadDown, 0, 0, 0, 0, 0, 0}), (ButtonState{}));
}

TEST(XInputComposition, SticksAndEachTriggerScaleToTheRangePastTheDeadZone) {
    JoystickSnapshot j;
    // 10 %: 3276 of a stick's travel and 25 of a trigger's read as rest.
    ReadXInputSnapshot({0, 25, 26, 3276, -3276, 3300, 0}, 100, 10, j);
    EXPECT_EQ((std::array{j.x, j.y, j.rx, j.z, j.rz}), (std::array{0, 0, 0, 0, 0}));
    // Full travel gives the full range whatever the dead zone; both triggers held stay apart.
    ReadXInputSnapshot({0, 255, 255, -32768, 32767, 32767, -32768}, 100, 10, j);
    EXPECT_EQ((std::array{j.x, j.y, j.rx, j.ry, j.z, j.rz}), (std::array{-100, -100, 100, 100, 100, 100}));
    ReadXInputSnapshot({0, 0, 0, 16384 + 1638, 0, 0, 0}, 127, 10, j);
    EXPECT_NEAR(j.x, 63, 1);  // half of the travel past the dead zone
}

}  // namespace
