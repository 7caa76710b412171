#include "devices/keyboard_led_device.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

TEST(KeyboardLedDeviceTest, InertDeviceNamesThreeLocksAndListsNoStates) {
    cKeyboardLedDevice device;
    EXPECT_EQ(device.Id(), "Keyboard");
    EXPECT_EQ(device.Description(), "Keyboard (by keystroke simulation)");
    EXPECT_EQ(device.HardwareId(), 0x2003);
    EXPECT_EQ(device.Classification(), classification::NotClassified);
    EXPECT_TRUE(device.IsPresent());
    EXPECT_EQ(device.LedCount(), 3);
    EXPECT_EQ(device.GetLedName(0), "Scroll Lock");
    EXPECT_EQ(device.GetLedName(1), "Caps Lock");
    EXPECT_EQ(device.GetLedName(2), "Num Lock");
    EXPECT_EQ(device.GetLedName(3), kInvalidForThisDevice);
    for (int led = 0; led < 3; ++led) {
        EXPECT_EQ(device.GetLed(led)->state_count, 0);
        EXPECT_EQ(device.GetLed(led)->line_mask, 0);
        for (int8_t state = led_state::Undefined; state <= led_state::Pulse; ++state)
            EXPECT_EQ(device.GetStateName(led, state), kInvalidForThisDevice);
    }
}

TEST(KeyboardLedDeviceTest, FramesLightNothing) {
    cKeyboardLedDevice device;
    ASSERT_TRUE(device.Activate());
    device.BeginUpdate();
    for (int led = 0; led < 3; ++led) device.SetLedState(led, led_state::On, true);
    device.EndUpdate(true);
    device.AdvancePhase();
    EXPECT_EQ(device.LitBits(), 0u);
    EXPECT_EQ(device.DrivenBits(), 0u);
    device.Deactivate();
    EXPECT_FALSE(device.IsOpened());
}
