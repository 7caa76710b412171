// Calibration: levels per module kind under "<hardware ID>\Calibration", and "LevelControl".
#include "tests/unit/serial_device_fixture.h"

using platform::RegistryRoot;

class SerialCalibration : public SerialDeviceFixture {
protected:
    std::unique_ptr<platform::RegistryKey> Key(const std::string& below) {
        return registry.OpenOrCreate(RegistryRoot::CurrentUser, std::string(kGlimmerboxKey) + "\\" + below);
    }
    // The names of a key's values; the fake lists nothing else, so read through known names.
    static std::vector<std::string> Present(platform::RegistryKey& key, const std::vector<std::string>& names) {
        std::vector<std::string> present;
        for (const std::string& name : names)
            if (key.ValueExists(name)) present.push_back(name);
        return present;
    }
};

TEST_F(SerialCalibration, FullColourLedStoresALevelPerColourAndLine) {
    ports.AddPort(2, {.dtr = platform::kMsRlsdOn});
    auto device = Build(2);
    device->GetLed(0)->levels[1][2] = 35;  // blue mixed into red
    device->SetLevelControl(true);

    auto calibration = Key("1008\\Calibration");
    EXPECT_EQ(calibration->ReadDword("LED0-Red-0"), 100u);
    EXPECT_EQ(calibration->ReadDword("LED0-Red-1"), 0u);
    EXPECT_EQ(calibration->ReadDword("LED0-Red-2"), 35u);
    EXPECT_EQ(calibration->ReadDword("LED0-White-1"), 100u);
    EXPECT_EQ(calibration->ReadDword("LED0-Off-0"), 0u);
    EXPECT_FALSE(calibration->ValueExists("LED0-Red-3")) << "a serial device has three lines";
    EXPECT_FALSE(calibration->ValueExists("LED0-Calibration"));
    EXPECT_EQ(Key("1008")->ReadDword("LevelControl"), 1u);
}

TEST_F(SerialCalibration, PlainLedsStoreOneLevelEach) {
    ports.AddPort(1);
    auto device = Build(1);
    device->GetLed(2)->level = 45;
    device->SaveCalibration();

    auto calibration = Key("1000\\Calibration");
    EXPECT_EQ(calibration->ReadDword("LED0-Calibration"), 100u);
    EXPECT_EQ(calibration->ReadDword("LED2-Calibration"), 45u);
    EXPECT_FALSE(calibration->ValueExists("LED3-Calibration"));
    EXPECT_EQ(Key("1000")->ReadDword("LevelControl"), 0u);
}

TEST_F(SerialCalibration, SaveLeavesOnlyTheCurrentValues) {
    Key("1002\\Calibration")->WriteDword("LED1-Calibration", 10);
    Key("1002\\Calibration")->WriteDword("LED0-Red-0", 10);
    Key("1002\\Calibration\\Old");
    ports.AddPort(1, {.dtr = platform::kMsDsrOn});
    Build(1)->SaveCalibration();

    auto calibration = Key("1002\\Calibration");
    EXPECT_EQ(Present(*calibration, {"LED0-Calibration", "LED1-Calibration", "LED0-Red-0"}),
              std::vector<std::string>{"LED0-Calibration"});
    EXPECT_TRUE(calibration->SubkeyNames().empty());
}

TEST_F(SerialCalibration, LoadReplacesStoredLevelsAndKeepsTheOthers) {
    auto calibration = Key("1080\\Calibration");
    calibration->WriteDword("LED0-Green-1", 40);
    calibration->WriteDword("LED0-Blue-0", 5);
    ports.AddPort(1, {.rts = platform::kMsRlsdOn});
    auto device = Build(1);
    device->LoadCalibration();

    const led_descriptor& led = *device->GetLed(0);
    EXPECT_EQ(led.levels[2][1], 40);
    EXPECT_EQ(led.levels[3][0], 5);
    EXPECT_EQ(led.levels[3][2], 100);
    EXPECT_FALSE(device->LevelControlEnabled());
}

TEST_F(SerialCalibration, RoundTripsThroughTheRegistry) {
    ports.AddPort(1, {.dtr = platform::kMsRlsdOn});
    ports.AddPort(2, {.dtr = platform::kMsRlsdOn});
    auto first = Build(1);
    first->GetLed(0)->levels[6][0] = 55;  // yellow, red part
    first->SetLevelControl(true);

    auto second = Build(2);
    ASSERT_TRUE(second->Activate());
    EXPECT_EQ(second->GetLed(0)->levels[6][0], 55);
    EXPECT_TRUE(second->LevelControlEnabled());
    EXPECT_TRUE(second->IsLevelControlRunning()) << "Activate opens the port, which starts level control";
}

TEST_F(SerialCalibration, LoadingLevelControlStartsNothing) {
    ports.AddPort(1);
    auto device = Build(1);
    Key("1000")->WriteDword("LevelControl", 1);
    device->LoadCalibration();
    EXPECT_TRUE(device->LevelControlEnabled());
    EXPECT_FALSE(device->IsLevelControlRunning());
}

TEST_F(SerialCalibration, WrongTypedOrOutOfRangeValuesAreSafe) {
    Key("1000\\Calibration")->WriteString("LED0-Calibration", "50");
    Key("1000\\Calibration")->WriteDword("LED1-Calibration", 0x7FFFFFFF);
    Key("1000\\Calibration")->WriteDword("LED2-Calibration", 0xFFFFFFF6);
    Key("1000")->WriteString("LevelControl", "1");
    ports.AddPort(1);
    auto device = Build(1);
    device->LoadCalibration();
    EXPECT_EQ(device->GetLed(0)->level, 100) << "a text value reads as missing";
    EXPECT_EQ(device->GetLed(1)->level, 100) << "beyond 100 percent is cut to 100";
    EXPECT_EQ(device->GetLed(2)->level, 0) << "below 0 is cut to 0";
    EXPECT_FALSE(device->LevelControlEnabled());

    device->BeginUpdate();
    device->SetLedState(1, 2, false);
    device->EndUpdate(false);
    EXPECT_EQ(device->OnTime(1), 20);
}

TEST_F(SerialCalibration, HardwareIdKeyIsNamedInUpperCaseHexadecimal) {
    ports.AddPort(1, {.dtr = platform::kMsCtsOn | platform::kMsDsrOn | platform::kMsRlsdOn,
                      .rts = platform::kMsDsrOn | platform::kMsRlsdOn});
    auto device = Build(1);
    ASSERT_EQ(device->HardwareId(), 0x10AB);
    device->SaveCalibration();
    // The registry ignores case: only the names it lists show how the key was written.
    EXPECT_EQ(registry.OpenReadOnly(RegistryRoot::CurrentUser, kGlimmerboxKey)->SubkeyNames(),
              std::vector<std::string>{"10AB"});
}

TEST_F(SerialCalibration, BusyPortUsesHardwareIdZero) {
    ports.AddBusyPort(1, platform::kErrorAccessDenied);
    auto device = Build(1);
    device->SetLevelControl(true);  // a busy port's kind is unknown: no level control to save
    EXPECT_FALSE(registry.KeyExists(RegistryRoot::CurrentUser, std::string(kGlimmerboxKey) + "\\0000"));
    EXPECT_FALSE(device->Activate());
}
