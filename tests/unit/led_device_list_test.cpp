#include "devices/keyboard_led_device.h"
#include "devices/led_device_list.h"
#include "settings/led_vocabulary.h"
#include "tests/unit/device_machine_fixture.h"

#include <gtest/gtest.h>

namespace {

using platform::RegistryRoot;

class LedDeviceListTest : public DeviceMachineFixture {};

}  // namespace

TEST_F(LedDeviceListTest, SerialPortsByNumberThenKeyboardsInRegistryOrder) {
    AddKeyboard("b-second");
    ports.AddPort(3);
    const std::string first = AddKeyboard("a-first");
    ports.AddPort(1);
    list.Refresh(nullptr, false);
    EXPECT_EQ(ListedIds(), (std::vector<std::string>{"COM1", "COM3", first, KeyboardKeyName("b-second")}));
    EXPECT_EQ(list.Item(4), nullptr);
    EXPECT_EQ(list.Item(-1), nullptr);
}

TEST_F(LedDeviceListTest, BusyPortIsListedWithoutStates) {
    ports.AddPort(1);
    ports.AddBusyPort(2, platform::kErrorSharingViolation);
    list.Refresh(nullptr, false);
    ASSERT_EQ(ListedIds(), (std::vector<std::string>{"COM1", "COM2"}));
    const cLedDevice* busy = list.Item(1);
    EXPECT_EQ(busy->Classification(), classification::NotClassified);
    for (int led = 0; led < busy->LedCount(); ++led) EXPECT_EQ(busy->GetLed(led)->state_count, 0);
}

TEST_F(LedDeviceListTest, RemoteDesktopAndUnopenableKeyboardsAreDropped) {
    AddRemoteDesktopKeyboard();
    const std::string kept = AddKeyboard("kept");
    keyboards.At(KeyboardPath(AddKeyboard("locked"))).open_error = 5;
    list.Refresh(nullptr, false);
    EXPECT_EQ(ListedIds(), (std::vector<std::string>{kept}));
}

TEST_F(LedDeviceListTest, MissingKeyboardClassKeyGivesNoKeyboards) {
    ports.AddPort(2);
    list.Refresh(nullptr, false);
    EXPECT_EQ(ListedIds(), (std::vector<std::string>{"COM2"}));
}

TEST_F(LedDeviceListTest, KeystrokeDeviceGoesBetweenPortsAndKeyboards) {
    ports.AddPort(1);
    const std::string keyboard = AddKeyboard("one");
    list.Refresh(nullptr, true);
    ASSERT_EQ(ListedIds(), (std::vector<std::string>{"COM1", "Keyboard", keyboard}));
    EXPECT_NE(dynamic_cast<cKeyboardLedDevice*>(list.Item(1)), nullptr);
}

TEST_F(LedDeviceListTest, FindByIdMatchesExactly) {
    ports.AddPort(1);
    ports.AddPort(10);
    const std::string keyboard = AddKeyboard("one");
    list.Refresh(nullptr, false);
    EXPECT_EQ(list.FindById("COM1"), list.Item(0));
    EXPECT_EQ(list.FindById("COM10"), list.Item(1));
    EXPECT_EQ(list.FindById(keyboard), list.Item(2));
    EXPECT_EQ(list.FindById("com1"), nullptr);
    EXPECT_EQ(list.FindById("COM"), nullptr);
    EXPECT_EQ(list.FindById(""), nullptr);
}

TEST_F(LedDeviceListTest, RefreshReplacesTheDevicesAndLeavesTheOldOnesAtRest) {
    const std::string keyboard = AddKeyboard("one");
    list.Refresh(nullptr, false);
    cLedDevice* device = list.FindById(keyboard);
    ASSERT_TRUE(device->Activate());
    device->BeginUpdate();
    device->SetLedState(0, led_state::On, false);
    device->EndUpdate(true);
    ASSERT_EQ(keyboards.At(device->Path()).led_flags, 0x1);

    ports.AddPort(4);
    list.Refresh(nullptr, false);
    EXPECT_EQ(keyboards.At(KeyboardPath(keyboard)).led_flags, 0) << "the old device was deactivated";
    EXPECT_EQ(ListedIds(), (std::vector<std::string>{"COM4", keyboard}));
}

TEST_F(LedDeviceListTest, EmptyMachineGivesAnEmptyList) {
    list.Refresh(nullptr, false);
    EXPECT_EQ(list.Count(), 0);
}
