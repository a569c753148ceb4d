// The settings module against the real registry of the test prefix.
#include "config/registry_settings.h"
#include "registry_fixture.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using TestRegistry::ReadRaw;
using TestRegistry::WriteNumber;
using TestRegistry::WriteRaw;

class RegistrySettings : public testing::Test {
protected:
    void SetUp() override {
        TestRegistry::DeletePluginKey();
        ResetControllerDevices(controllers);  // the state the plug-in has right after load
    }
    void TearDown() override { TestRegistry::DeletePluginKey(); }

    ControllerConfig& Controller(int n) { return controllers[n]; }
    void Load() { LoadConfiguration(controllers, netplay); }
    void Save() { SaveConfiguration(controllers, netplay); }

    ControllerConfig controllers[kControllerCount]{};
    NetplaySettings netplay;
};

TEST_F(RegistrySettings, FirstRunLoadsNothingAndCreatesNothing) {
    Load();
    for (const ControllerConfig& record : controllers) {
        ControllerConfig expected{};
        expected.DIDevice = -1;
        EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);
    }
    EXPECT_EQ(netplay.PlayAs, 4);
    EXPECT_FALSE(netplay.ViewLog);
    EXPECT_STREQ(netplay.Dll, ".\\kailleraclient.dll");
    EXPECT_FALSE(TestRegistry::PluginKeyExists());
}

TEST_F(RegistrySettings, MissingControllerKeyDisablesOnlyThatController) {
    WriteNumber("Controller0", "DIDevice", 0);
    WriteNumber("Controller1", "DIDevice", 1);
    WriteNumber("Controller3", "DIDevice", 3);
    Controller(2).DIDevice = 7;
    Controller(2).ButtonA = 55;
    Load();
    EXPECT_EQ(Controller(0).DIDevice, 0);
    EXPECT_EQ(Controller(1).DIDevice, 1);
    EXPECT_EQ(Controller(2).DIDevice, -1);
    EXPECT_EQ(Controller(2).ButtonA, 55);
    EXPECT_EQ(Controller(3).DIDevice, 3);
}

TEST_F(RegistrySettings, EmptyControllerKeyGetsKeyboardDefaultsAndKeepsSelectors) {
    WriteNumber("Controller0", "Unrelated", 1);
    Controller(0).StickUpDown = 3;
    Load();
    ControllerConfig expected{};
    expected.DIDevice = -1;
    expected.StickUpDown = 3;
    expected.Range = kRangeDefault;
    ApplyKeyboardDefaults(expected);
    EXPECT_EQ(std::memcmp(&Controller(0), &expected, sizeof expected), 0);
}

TEST_F(RegistrySettings, ValueTextsParseLikeAtoi) {
    WriteRaw("Controller0", "DIDevice", std::string("12abc\0", 6));
    WriteRaw("Controller0", "ButtonA", "abc");
    WriteRaw("Controller0", "ButtonB", " -1");
    WriteRaw("Controller0", "StickUpDown", "57");
    WriteRaw("Controller0", "TriggerZ", "-8");
    WriteRaw("Controller0", "PadUp", "");  // empty: keeps the default
    Load();
    EXPECT_EQ(Controller(0).DIDevice, 12);
    EXPECT_EQ(Controller(0).ButtonA, 0);
    EXPECT_EQ(Controller(0).ButtonB, -1);
    EXPECT_EQ(Controller(0).StickUpDown, 57);
    EXPECT_EQ(Controller(0).TriggerZ, -8);
    EXPECT_EQ(Controller(0).PadUp, 0xC7);
}

TEST_F(RegistrySettings, ValuesThatFillOrOverflowTheReadBufferAreHandledSafely) {
    // 260 bytes and no terminator: exactly the read buffer. It must parse within the buffer. (Binary
    // data, because Wine would add a terminator to a text value and then find it too long.)
    WriteRaw("Controller0", "ButtonA", std::string(260, '9'), REG_BINARY);
    WriteRaw("Controller0", "ButtonB", "3" + std::string(259, ' '), REG_BINARY);
    WriteRaw("Controller0", "ButtonStart", std::string(261, '1'));  // too long: counts as missing
    Load();
    EXPECT_EQ(Controller(0).ButtonA, INT32_MAX);
    EXPECT_EQ(Controller(0).ButtonB, 3);
    EXPECT_EQ(Controller(0).ButtonStart, 0x39);
}

TEST_F(RegistrySettings, NetplayValuesLoad) {
    const struct {
        const char* text;
        bool expected;
    } viewLogCases[] = {{"5", true}, {"1", true}, {"0", false}, {"-3", false}};
    for (const auto& c : viewLogCases) {
        netplay = NetplaySettings{};
        WriteRaw("Kaillera", "ViewLog", c.text);
        WriteRaw("Kaillera", "PlayAs", "2");
        Load();
        EXPECT_EQ(netplay.ViewLog, c.expected) << c.text;
        EXPECT_EQ(netplay.PlayAs, 2);
        EXPECT_FALSE(netplay.Enabled);
    }
}

TEST_F(RegistrySettings, DllPathIsCutTo255AndAnOverlongOneIsIgnored) {
    WriteRaw("Kaillera", "Dll", std::string(259, 'd'));
    Load();
    EXPECT_EQ(std::string(netplay.Dll), std::string(255, 'd'));

    netplay = NetplaySettings{};
    WriteRaw("Kaillera", "Dll", std::string(300, 'e'));
    Load();
    EXPECT_STREQ(netplay.Dll, ".\\kailleraclient.dll");

    WriteRaw("Kaillera", "Dll", std::string(260, 'f'), REG_BINARY);  // fills the buffer, no terminator
    Load();
    EXPECT_EQ(std::string(netplay.Dll), std::string(255, 'f'));
}

TEST_F(RegistrySettings, SaveWritesTheStoredLayout) {
    ApplyAdaptoidDefaults(Controller(1), 2);
    netplay.PlayAs = 2;
    netplay.ViewLog = true;
    netplay.Enabled = true;
    Save();

    for (int n = 0; n < 4; ++n) {
        const std::string key = "Controller" + std::to_string(n);
        const auto device = ReadRaw(key, "DIDevice");
        ASSERT_TRUE(device) << key;
        ASSERT_EQ(device->size(), 256u);  // text, terminator, zero filler
        EXPECT_EQ(device->substr(0, 3), n == 1 ? std::string("2\0\0", 3) : std::string("-1\0", 3));
        EXPECT_EQ(device->find_first_not_of('\0', 3), std::string::npos);
    }
    EXPECT_EQ(ReadRaw("Controller1", "StickUpDown")->c_str(), std::string("3"));
    EXPECT_EQ(ReadRaw("Controller1", "PadRight")->c_str(), std::string("13"));
    // Netplay values are written without their terminator, but the registry itself adds one when
    // the byte after the data is a NUL, as NT does: compare the texts.
    EXPECT_STREQ(ReadRaw("Kaillera", "PlayAs")->c_str(), "2");
    EXPECT_STREQ(ReadRaw("Kaillera", "ViewLog")->c_str(), "1");
    EXPECT_STREQ(ReadRaw("Kaillera", "Dll")->c_str(), ".\\kailleraclient.dll");
    EXPECT_FALSE(ReadRaw("Kaillera", "Enabled"));
}

TEST_F(RegistrySettings, SaveThenLoadReproducesEverySetting) {
    int value = -5;
    for (ControllerConfig& record : controllers) {
        for (const ConfigField& field : kStoredFieldOrder) record.*field.member = value++ * 37;
        record.DeadZone = value++;
        record.Range = value++;
        record.Pak = value++;
        record.RumbleStrength = value++;
    }
    controllers[1].DeviceGuid = {0x6F1D2B61, 0xD5A0, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0, 9}};
    netplay.PlayAs = 3;
    netplay.ViewLog = true;
    SetDllPath(netplay, "C:\\Games\\kaillera\\kailleraclient.dll");
    netplay.Enabled = true;
    ControllerConfig saved[4];
    std::memcpy(saved, controllers, sizeof saved);
    const NetplaySettings savedNetplay = netplay;

    Save();
    const auto firstText = ReadRaw("Controller2", "TriggerZ");
    Save();  // saving twice leaves the same texts
    EXPECT_EQ(ReadRaw("Controller2", "TriggerZ"), firstText);

    for (ControllerConfig& record : controllers) record = ControllerConfig{};
    ResetControllerDevices(controllers);
    netplay = NetplaySettings{};
    Load();
    EXPECT_EQ(std::memcmp(controllers, saved, sizeof saved), 0);
    EXPECT_EQ(netplay.PlayAs, 3);
    EXPECT_TRUE(netplay.ViewLog);
    EXPECT_STREQ(netplay.Dll, savedNetplay.Dll);
    EXPECT_FALSE(netplay.Enabled);
}

TEST_F(RegistrySettings, AddedValuesAreOptionalAndLeaveTheOriginalOnesAsTheyWere) {
    // A record stored by an older build: no dead zone, range, pak or device identity.
    WriteNumber("Controller0", "DIDevice", 1);
    WriteNumber("Controller0", "ButtonA", 4);
    Controller(0).DeadZone = 30;
    Controller(0).Range = 100;
    Controller(0).Pak = PakRumble;
    Controller(0).RumbleStrength = 40;
    Controller(0).DeviceGuid.data1 = 7;
    Load();
    EXPECT_EQ(Controller(0).DeadZone, kDeadZoneDefault);
    EXPECT_EQ(Controller(0).Range, kRangeDefault);
    EXPECT_EQ(Controller(0).Pak, PakNone);
    EXPECT_EQ(Controller(0).RumbleStrength, 100);
    EXPECT_TRUE(IsEmpty(Controller(0).DeviceGuid));

    // Saved with the added values, the original 21 keep their texts; an unreadable identity is none.
    Controller(0).DeadZone = 12;
    Controller(0).Range = 90;
    Controller(0).Pak = PakMemory;
    Controller(0).RumbleStrength = 55;
    Save();
    EXPECT_STREQ(ReadRaw("Controller0", "DIDevice")->c_str(), "1");
    EXPECT_STREQ(ReadRaw("Controller0", "ButtonA")->c_str(), "4");
    EXPECT_STREQ(ReadRaw("Controller0", "DeadZone")->c_str(), "12");
    EXPECT_STREQ(ReadRaw("Controller0", "Range")->c_str(), "90");
    EXPECT_STREQ(ReadRaw("Controller0", "Pak")->c_str(), "1");
    EXPECT_STREQ(ReadRaw("Controller0", "RumbleStrength")->c_str(), "55");
    EXPECT_STREQ(ReadRaw("Controller0", "DeviceGuid")->c_str(), "");
    WriteRaw("Controller0", "DeviceGuid", "{not a guid}");
    Load();
    EXPECT_EQ(Controller(0).DeadZone, 12);
    EXPECT_EQ(Controller(0).Range, 90);
    EXPECT_TRUE(IsEmpty(Controller(0).DeviceGuid));
}

}  // namespace
