#include "config/controller_config.h"
#include "config/first_run_layout.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <utility>
#include <set>
#include <string>

namespace {

TEST(ControllerConfig, ResetLeavesEverythingButTheDeviceAlone) {
    ControllerConfigs controllers{};
    controllers[2].ButtonA = 7;
    ResetControllerDevices(controllers);
    for (const ControllerConfig& record : controllers) EXPECT_EQ(record.DIDevice, kNoDevice);
    EXPECT_EQ(controllers[2].ButtonA, 7);
}

TEST(ControllerConfig, KeyboardDefaultsKeepDeviceAndSelectors) {
    ControllerConfig record{};
    record.DIDevice = 3;
    record.StickUpDown = 3;
    record.StickLeftRight = 0;
    ApplyKeyboardDefaults(record);
    EXPECT_EQ(record.DIDevice, 3);
    EXPECT_EQ(record.StickUpDown, 3);
    EXPECT_EQ(record.StickLeftRight, 0);
    EXPECT_EQ(record.StickUp, 0xC8);
    EXPECT_EQ(record.PadRight, 0xD1);
    EXPECT_EQ(record.ButtonStart, 0x39);
    EXPECT_EQ(record.TriggerZ, 0x2C);
}

TEST(ControllerConfig, AdaptoidDefaultsOverwriteTheMappedFieldsAndKeepTheTuning) {
    ControllerConfig record;
    std::memset(static_cast<void*>(&record), 0x5A, sizeof record);
    const ControllerConfig before = record;
    ApplyAdaptoidDefaults(record, 5);
    const ControllerConfig expected{5, 0, 0, 0, 0, 3, 0, 10, 11, 12, 13, 0, 3, 5, 1, 4, 2, 8, 6, 7, 9};
    EXPECT_EQ(std::memcmp(&record, &expected, offsetof(ControllerConfig, DeadZone)), 0);
    EXPECT_EQ(std::memcmp(&record.DeadZone, &before.DeadZone, sizeof record - offsetof(ControllerConfig, DeadZone)), 0);
}

TEST(ControllerConfig, DeadZoneAndRangeOutsideTheirBoundsMeanTheDefaults) {
    ControllerConfig record{};  // as loaded with no stored values
    EXPECT_EQ(EffectiveDeadZone(record), 0);
    EXPECT_EQ(EffectiveRange(record), 64);
    for (auto [stored, expected] : {std::pair{0, 0}, {50, 50}, {51, 0}, {-1, 0}}) {
        record.DeadZone = stored;
        EXPECT_EQ(EffectiveDeadZone(record), expected) << stored;
    }
    for (auto [stored, expected] : {std::pair{16, 16}, {127, 127}, {15, 64}, {128, 64}, {-64, 64}}) {
        record.Range = stored;
        EXPECT_EQ(EffectiveRange(record), expected) << stored;
    }
}

TEST(ControllerConfig, DeviceIdentityTextRoundTripsAndRejectsOtherShapes) {
    const DeviceIdentity identity{0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
    char text[kDeviceIdentityTextSize];
    FormatDeviceIdentity(identity, text);
    EXPECT_STREQ(text, "{6F1D2B61-D5A0-11CF-BFC7-444553540000}");
    EXPECT_TRUE(ParseDeviceIdentity(text) == identity);
    EXPECT_TRUE(ParseDeviceIdentity("{6f1d2b61-d5a0-11cf-bfc7-444553540000}") == identity);
    for (const char* bad : {"", "0", "{6F1D2B61-D5A0-11CF-BFC7-44455354000}", "{6F1D2B61-D5A0-11CF-BFC7-44455354000G}",
                            "6F1D2B61-D5A0-11CF-BFC7-444553540000}{", "{6F1D2B61+D5A0-11CF-BFC7-444553540000}"})
        EXPECT_TRUE(IsEmpty(ParseDeviceIdentity(bad))) << bad;
}

TEST(ControllerConfig, FirstDeviceOfANeverMappedControllerBringsItsKindsLayout) {
    ControllerConfig keyboard{};
    keyboard.DIDevice = 2;
    EXPECT_TRUE(ApplyFirstRunLayout(keyboard, LayoutKind::Keyboard));
    ControllerConfig expected{};
    expected.DIDevice = 2;
    ApplyKeyboardDefaults(expected);
    EXPECT_EQ(std::memcmp(&keyboard, &expected, sizeof keyboard), 0);

    // Selectors left over from stored settings do not count as a mapping; the layout sets its own.
    ControllerConfig joystick{};
    joystick.DIDevice = 7;
    joystick.StickUpDown = UseButtonsStored;
    EXPECT_TRUE(ApplyFirstRunLayout(joystick, LayoutKind::Joystick));
    ApplyPadDefaults(expected, 7);
    EXPECT_EQ(std::memcmp(&joystick, &expected, sizeof joystick), 0);
}

TEST(ControllerConfig, AnyMappedCodeKeepsTheRecordAsItIs) {
    for (const ConfigField& field : kStoredFieldOrder) {
        if (field.member == &ControllerConfig::DIDevice) continue;
        ControllerConfig record{};
        record.DIDevice = 1;
        record.*field.member = 4;
        const ControllerConfig before = record;
        const bool selector =
            field.member == &ControllerConfig::StickUpDown || field.member == &ControllerConfig::StickLeftRight;
        EXPECT_EQ(ApplyFirstRunLayout(record, LayoutKind::Joystick), selector) << field.name;
        if (!selector) {
            EXPECT_EQ(std::memcmp(&record, &before, sizeof record), 0) << field.name;
        }
    }
    // A keyboard layout the player edited, then given a joystick, keeps its codes.
    ControllerConfig edited{};
    ApplyKeyboardDefaults(edited);
    edited.ButtonA = 0x2B;
    EXPECT_FALSE(ApplyFirstRunLayout(edited, LayoutKind::Joystick));
    EXPECT_EQ(edited.StickUp, 0xC8);
}

TEST(ControllerConfig, UntouchedLayoutOfTheOtherKindGivesWayToTheNewKinds) {
    ControllerConfig record{};
    record.DIDevice = 3;
    record.DeadZone = 12;
    ApplyKeyboardDefaults(record);
    record.StickUpDown = 5;  // a keyboard never reads its selectors
    ControllerConfig pad = record;
    ApplyPadDefaults(pad, 3);
    EXPECT_TRUE(ApplyFirstRunLayout(record, LayoutKind::Joystick));
    EXPECT_EQ(std::memcmp(&record, &pad, sizeof record), 0);
    EXPECT_FALSE(ApplyFirstRunLayout(record, LayoutKind::Joystick));  // the same kind keeps its own

    EXPECT_TRUE(ApplyFirstRunLayout(record, LayoutKind::Keyboard));
    EXPECT_EQ(record.StickUp, 0xC8);
    EXPECT_EQ(record.ButtonA, 0x2A);
    ControllerConfig adaptoid{};
    ApplyAdaptoidDefaults(adaptoid, 1);
    EXPECT_TRUE(ApplyFirstRunLayout(adaptoid, LayoutKind::Keyboard));
    EXPECT_EQ(adaptoid.ButtonStart, 0x39);

    // One selector or one code changed is an edit.
    for (int32_t ControllerConfig::*member : {&ControllerConfig::StickUpDown, &ControllerConfig::PadUp}) {
        ControllerConfig edited{};
        ApplyPadDefaults(edited, 1);
        edited.*member = 9;
        const ControllerConfig before = edited;
        EXPECT_FALSE(ApplyFirstRunLayout(edited, LayoutKind::Keyboard));
        EXPECT_EQ(std::memcmp(&edited, &before, sizeof edited), 0);
    }
}

TEST(ControllerConfig, PlayerMappingExistsOnlyForTheFourControllers) {
    ControllerConfigs controllers{};
    EXPECT_EQ(MappingForPlayer(controllers, 0), &controllers[0]);
    EXPECT_EQ(MappingForPlayer(controllers, 3), &controllers[3]);
    EXPECT_EQ(MappingForPlayer(controllers, 4), nullptr);
    EXPECT_EQ(MappingForPlayer(controllers, -1), nullptr);
    EXPECT_EQ(MappingForPlayer(controllers, INT32_MIN), nullptr);
}

TEST(ControllerConfig, StoredOrderNamesEveryFieldOnce) {
    std::set<std::string> names;
    std::set<size_t> offsets;
    ControllerConfig record{};
    for (const ConfigField& field : kStoredFieldOrder) {
        names.insert(field.name);
        offsets.insert(reinterpret_cast<const char*>(&(record.*field.member)) - reinterpret_cast<const char*>(&record));
    }
    EXPECT_EQ(names.size(), 21u);
    EXPECT_EQ(offsets.size(), 21u);
    EXPECT_STREQ(kStoredFieldOrder[0].name, "DIDevice");
    EXPECT_STREQ(kStoredFieldOrder[7].name, "TriggerLeft");
    EXPECT_STREQ(kStoredFieldOrder[20].name, "PadRight");
}

}  // namespace
