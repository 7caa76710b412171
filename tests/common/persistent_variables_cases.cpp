#include "settings/persistent_variables.h"
#include "tests/common/registry_fixture.h"

using PersistentVariables = RegistryFixture;

TEST_F(PersistentVariables, BoolWritesNothingAtConstructionAndReadsOnEveryAccess) {
    cPersistentBool user_event(registry(), "UserEvent1");
    EXPECT_FALSE(user_event.Exists());
    EXPECT_FALSE(user_event.Get());

    ProgramKey()->WriteDword("UserEvent1", 5);  // another process, or a hand edit
    EXPECT_TRUE(user_event.Get());
    EXPECT_TRUE(user_event.Set(false));
    EXPECT_EQ(ProgramKey()->ReadDword("UserEvent1"), 0u);
}

TEST_F(PersistentVariables, MissingValueGivesTheLastValueSet) {
    cPersistentBool user_event(registry(), "UserEvent1");
    user_event.Set(true);
    ProgramKey()->DeleteValue("UserEvent1");
    EXPECT_TRUE(user_event.Get());

    registry().DeleteTree(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
    EXPECT_TRUE(user_event.Get()) << "a missing key reads like a missing value";
}

TEST_F(PersistentVariables, WrongTypeGivesTheLastValue) {
    cPersistentBool user_event(registry(), "UserEvent0");
    user_event.Set(true);
    ProgramKey()->WriteString("UserEvent0", "1");
    EXPECT_TRUE(user_event.Get());

    cPersistentInteger delay(registry(), "SerialUSBDetectionDelay", false, 50);
    ProgramKey()->WriteString("SerialUSBDetectionDelay", "200");
    EXPECT_EQ(delay.Get(), 50);

    cPersistentAnsiString device(registry(), "DeviceID", false, "");
    device.Set("COM3");
    ProgramKey()->WriteDword("DeviceID", 3);
    EXPECT_EQ(device.Get(), "COM3");
}

TEST_F(PersistentVariables, IntegerAndStringWriteTheirDefaultOnlyWhenMissing) {
    cPersistentInteger delay(registry(), "SerialUSBDetectionDelay", false, 50);
    EXPECT_EQ(ProgramKey()->ReadDword("SerialUSBDetectionDelay"), 50u);

    ProgramKey()->WriteDword("SerialUSBDetectionDelay", 200);
    cPersistentInteger second(registry(), "SerialUSBDetectionDelay", false, 50);
    EXPECT_EQ(ProgramKey()->ReadDword("SerialUSBDetectionDelay"), 200u);
    EXPECT_EQ(second.Get(), 200);

    cPersistentAnsiString device(registry(), "DeviceID", false, "");
    EXPECT_EQ(ProgramKey()->ReadString("DeviceID"), "");
    device.Set("\\\\?\\HID#VID_046D");
    cPersistentAnsiString again(registry(), "DeviceID", false, "");
    EXPECT_EQ(again.Get(), "\\\\?\\HID#VID_046D");
}

TEST_F(PersistentVariables, IntegerKeepsItsSign) {
    cPersistentInteger value(registry(), "SerialUSBDetectionDelay", false, 50);
    value.Set(-7);
    EXPECT_EQ(value.Get(), -7);
    EXPECT_EQ(ProgramKey()->ReadDword("SerialUSBDetectionDelay"), 0xFFFFFFF9u);
}

TEST_F(PersistentVariables, MachineWideValuesLiveUnderTheLocalMachine) {
    cPersistentBool machine_wide(registry(), "ProlificResumeFix", true);
    machine_wide.Set(true);
    cPersistentBool per_user(registry(), "ProlificResumeFix", false);
    EXPECT_FALSE(per_user.Exists());
    EXPECT_TRUE(machine_wide.Get());
    registry().DeleteTree(platform::RegistryRoot::LocalMachine, kGlimmerboxKey);
}
