#include "devices/keyboard_driver_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_registry.h"
#include "settings/led_vocabulary.h"
#include "tests/common/keyboard_registration.h"
#include "tests/common/text_detection_log.h"

#include <gtest/gtest.h>

namespace {

using platform::RegistryRoot;

constexpr int kVkCapital = 0x14;
constexpr uint16_t kCapsLockOn = 0x4;

class KeyboardDriverLedDeviceTest : public testing::Test {
protected:
    // A registered keyboard whose driver reports this many indicators.
    std::string Keyboard(uint16_t indicators, const std::string& tail = "7&1b2c3d4e&0&0000") {
        const std::string key_name = RegisterKeyboard(registry, tail, "HID Keyboard Device");
        keyboards.Add(KeyboardPath(key_name)).attributes->number_of_indicators = indicators;
        return key_name;
    }
    platform::fake::FakeKeyboards::Keyboard& Driver(const std::string& key_name) {
        return keyboards.At(KeyboardPath(key_name));
    }
    std::unique_ptr<cKeyboardDriverLedDevice> Make(const std::string& key_name) {
        return std::make_unique<cKeyboardDriverLedDevice>(key_name, &log, registry, keyboards, clock);
    }
    // Sends one frame and returns the indicator flags it set.
    uint16_t Frame(cLedDevice& device, std::initializer_list<std::pair<int, int8_t>> states) {
        device.BeginUpdate();
        for (auto [led, state] : states) device.SetLedState(led, state, false);
        device.EndUpdate(true);
        return keyboards_flags_of_last_write(device);
    }
    uint16_t keyboards_flags_of_last_write(const cLedDevice& device) {
        const auto& set = keyboards.At(device.Path()).flags_set;
        return set.empty() ? 0xFFFF : set.back();
    }

    platform::fake::FakeRegistry registry;
    platform::fake::FakeKeyboards keyboards;
    platform::fake::FakeClock clock;
    cTextDetectionLog log;
};

}  // namespace

TEST_F(KeyboardDriverLedDeviceTest, FourIndicatorKeyboardHasFourLockLeds) {
    const std::string key_name = Keyboard(4);
    auto device = Make(key_name);

    EXPECT_TRUE(device->IsPresent());
    EXPECT_EQ(device->LedCount(), 4);
    EXPECT_EQ(device->HardwareId(), 0x2004);
    EXPECT_EQ(device->Classification(), classification::KeyboardByDriver);
    EXPECT_EQ(device->Id(), key_name);
    EXPECT_EQ(device->Path(), "\\\\.\\HID#VID_046D&PID_C31C&MI_00#7&1b2c3d4e&0&0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}");
    EXPECT_EQ(device->Description(), "HID Keyboard Device");
    EXPECT_EQ(device->GetLedName(0), "Scroll Lock");
    EXPECT_EQ(device->GetLedName(1), "Caps Lock");
    EXPECT_EQ(device->GetLedName(2), "Num Lock");
    EXPECT_EQ(device->GetLedName(3), "Kana Lock");
    for (int i = 0; i < 4; ++i) {
        const led_descriptor* led = device->GetLed(i);
        ASSERT_NE(led, nullptr);
        EXPECT_EQ(led->line_mask, 1u << i);
        ASSERT_EQ(led->state_count, 6);
        const int8_t states[] = {led_state::Off, led_state::On, led_state::BlinkSlow,
                                 led_state::Blink, led_state::BlinkFast, led_state::Pulse};
        for (int j = 0; j < 6; ++j) {
            EXPECT_EQ(led->states[j], states[j]);
            EXPECT_EQ(led->state_lines[j], j == 0 ? 0 : 1u << i);
        }
        EXPECT_FALSE(led->inverted);
        EXPECT_EQ(led->level, 100);
    }
    EXPECT_EQ(Driver(key_name).open_connections, 0) << "no handle is held after construction";
}

TEST_F(KeyboardDriverLedDeviceTest, LedCountFollowsTheDriverUpToFour) {
    auto six = Make(Keyboard(6, "six"));
    EXPECT_EQ(six->LedCount(), 4);
    EXPECT_EQ(six->HardwareId(), 0x2004);

    auto two = Make(Keyboard(2, "two"));
    EXPECT_EQ(two->LedCount(), 2);
    EXPECT_EQ(two->HardwareId(), 0x2002);
    EXPECT_EQ(two->GetLedName(2), kInvalidForThisDevice);
    EXPECT_EQ(two->GetLed(2), nullptr);

    const std::string silent = Keyboard(4, "silent");
    Driver(silent).attributes.reset();
    auto unqueried = Make(silent);
    EXPECT_EQ(unqueried->LedCount(), 3);
    EXPECT_EQ(unqueried->HardwareId(), 0x2003);
    EXPECT_TRUE(unqueried->IsPresent());
}

TEST_F(KeyboardDriverLedDeviceTest, RemoteDesktopAndUnopenableKeyboardsAreNotPresent) {
    const std::string rdp = "##?#Root#RDP_KBD#0000#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
    keyboards.Add(KeyboardPath(rdp));
    auto remote = Make(rdp);
    EXPECT_FALSE(remote->IsPresent());
    EXPECT_EQ(keyboards.At(KeyboardPath(rdp)).opens, 0) << "a remote desktop keyboard is never opened";

    const std::string locked = Keyboard(3, "locked");
    Driver(locked).open_error = 5;
    auto unopenable = Make(locked);
    EXPECT_FALSE(unopenable->IsPresent());

    auto unknown = Make(KeyboardKeyName("gone"));
    EXPECT_FALSE(unknown->IsPresent());
}

TEST_F(KeyboardDriverLedDeviceTest, RemoteDesktopMarkerIsMatchedWithItsCase) {
    const std::string key_name = Keyboard(3, "X#rdp_kbd#0");
    EXPECT_TRUE(Make(key_name)->IsPresent());
}

TEST_F(KeyboardDriverLedDeviceTest, UndrivenIndicatorsShowTheRealLockState) {
    auto device = Make(Keyboard(4));
    ASSERT_TRUE(device->Activate());

    // Scroll, Caps, Num and Kana Lock, each toggled on alone.
    const std::pair<int, uint16_t> locks[] = {{0x91, 0x1}, {kVkCapital, kCapsLockOn}, {0x90, 0x2}, {0x15, 0x8}};
    for (auto [virtual_key, flag] : locks) {
        keyboards.key_states = {{virtual_key, 1}};
        EXPECT_EQ(Frame(*device, {}), flag) << virtual_key;
    }

    keyboards.key_states = {{kVkCapital, static_cast<int16_t>(0xFF80)}};  // held down, not toggled
    EXPECT_EQ(Frame(*device, {}), kCapsLockOn);

    keyboards.key_states[kVkCapital] = 1;
    EXPECT_EQ(Frame(*device, {{1, led_state::Off}}), 0) << "a driven LED ignores the lock state";
    keyboards.key_states.clear();
    EXPECT_EQ(Frame(*device, {}), 0);
}

TEST_F(KeyboardDriverLedDeviceTest, EachLedSetsItsOwnIndicatorFlag) {
    auto device = Make(Keyboard(4));
    ASSERT_TRUE(device->Activate());
    EXPECT_EQ(Frame(*device, {{0, led_state::On}}), 0x1);
    EXPECT_EQ(Frame(*device, {{1, led_state::On}}), 0x4);
    EXPECT_EQ(Frame(*device, {{2, led_state::On}}), 0x2);
    EXPECT_EQ(Frame(*device, {{3, led_state::On}}), 0x8);
    EXPECT_EQ(device->LitBits(), 0x8u);
    EXPECT_EQ(device->DrivenBits(), 0x8u);
}

TEST_F(KeyboardDriverLedDeviceTest, WritesChangedIndicatorsAndOnceASecondTheSameAgain) {
    const std::string key_name = Keyboard(3);
    auto device = Make(key_name);
    const int opens_after_construction = Driver(key_name).opens;
    ASSERT_TRUE(device->Activate());
    EXPECT_EQ(Driver(key_name).opens, opens_after_construction) << "Activate does not touch the keyboard";
    const std::vector<uint16_t>& writes = Driver(key_name).flags_set;

    Frame(*device, {{0, led_state::On}});
    clock.Advance(999);
    Frame(*device, {{0, led_state::On}});
    EXPECT_EQ(writes, (std::vector<uint16_t>{0x1})) << "an unchanged frame within the second writes nothing";
    clock.Advance(1);
    Frame(*device, {{0, led_state::On}});
    EXPECT_EQ(writes, (std::vector<uint16_t>{0x1, 0x1})) << "a lock key may have overwritten it meanwhile";
    Frame(*device, {{0, led_state::Off}});
    keyboards.key_states[0x91] = 1;  // Scroll Lock toggled on: Windows lit the indicator that LED 0 drives dark
    Frame(*device, {{0, led_state::Off}});
    EXPECT_EQ(writes, (std::vector<uint16_t>{0x1, 0x1, 0x0, 0x0})) << "the toggled indicator is driven again at once";
    keyboards.key_states.clear();
    Frame(*device, {{1, led_state::On}});
    EXPECT_EQ(writes.back(), kCapsLockOn);
    EXPECT_EQ(Driver(key_name).opens, opens_after_construction + 5) << "each write opens the keyboard anew";
    EXPECT_EQ(Driver(key_name).open_connections, 0);

    Driver(key_name).open_error = 32;  // taken away by another program: the frame is lost, not fatal
    Frame(*device, {{0, led_state::On}});
    EXPECT_EQ(device->LitBits(), 0x1u);
    Driver(key_name).open_error = 0;
    Frame(*device, {{0, led_state::On}});
    EXPECT_EQ(writes.back(), 0x1) << "the lost frame is written as soon as the keyboard opens again";

    device->Deactivate();
    ASSERT_TRUE(device->Activate());
    const std::size_t before = writes.size();
    Frame(*device, {});
    EXPECT_EQ(writes.size(), before + 1) << "an opened device writes its first frame, even an unchanged one";
    device->Suspend();
    device->Resume();
    EXPECT_EQ(writes.size(), before + 2) << "so does a resumed one: the keyboard may have been reset meanwhile";
}

TEST_F(KeyboardDriverLedDeviceTest, BlinkingBlanksTheIndicator) {
    auto device = Make(Keyboard(3));
    ASSERT_TRUE(device->Activate());
    EXPECT_EQ(Frame(*device, {{2, led_state::BlinkFast}}), 0x2);
    device->AdvancePhase();  // counter 1: still lit
    device->AdvancePhase();  // counter 2: blink fast dark
    EXPECT_EQ(keyboards_flags_of_last_write(*device), 0);
}

TEST_F(KeyboardDriverLedDeviceTest, SuspendAndDeactivateLeaveTheIndicatorsAsTold) {
    const std::string key_name = Keyboard(3);
    auto device = Make(key_name);
    ASSERT_TRUE(device->Activate());
    Frame(*device, {{0, led_state::On}, {1, led_state::On}});
    device->Suspend();
    EXPECT_EQ(keyboards_flags_of_last_write(*device), 0) << "nothing is held through the suspend";
    const std::size_t writes = Driver(key_name).flags_set.size();
    Frame(*device, {{0, led_state::On}});
    EXPECT_EQ(Driver(key_name).flags_set.size(), writes) << "no frame reaches a suspended keyboard";
    device->Resume();
    EXPECT_EQ(keyboards_flags_of_last_write(*device), 0x1) << "the saved light on the LEDs the latest frame drives";

    keyboards.key_states[kVkCapital] = 1;
    device->Deactivate();
    EXPECT_EQ(keyboards_flags_of_last_write(*device), kCapsLockOn) << "every indicator back to the real state";

    ASSERT_TRUE(device->Activate());
    Frame(*device, {{1, led_state::On}});
    device->MarkSessionEnd();
    device->Deactivate();
    EXPECT_EQ(keyboards_flags_of_last_write(*device), 0) << "after the session ends driven LEDs stay dark";
}

TEST_F(KeyboardDriverLedDeviceTest, DescriptionChainWithMissingOrMistypedValuesReadsEmpty) {
    const std::string key_name = Keyboard(3);
    registry.OpenOrCreate(RegistryRoot::LocalMachine, std::string(kKeyboardClassKey) + "\\" + key_name)
        ->WriteDword("DeviceInstance", 7);
    auto device = Make(key_name);
    EXPECT_EQ(device->Description(), "");
    EXPECT_TRUE(device->IsPresent()) << "a keyboard without a description still works";
}

TEST_F(KeyboardDriverLedDeviceTest, OverlongTextsAreCut) {
    const std::string tail(180, 'A');
    const std::string key_name = RegisterKeyboard(registry, tail, std::string(250, 'd'));
    ASSERT_GT(key_name.size(), cLedDevice::kMaxTextLength);
    // The device opens the path that its cut ID gives.
    const std::string cut_path = "\\\\.\\" + key_name.substr(4, cLedDevice::kMaxTextLength - 4);
    keyboards.Add(cut_path);

    auto device = Make(key_name);
    EXPECT_EQ(device->Id(), key_name.substr(0, cLedDevice::kMaxTextLength));
    EXPECT_EQ(device->Path(), cut_path);
    EXPECT_EQ(device->Description(), std::string(cLedDevice::kMaxTextLength, 'd'));
    EXPECT_TRUE(device->IsPresent());

    auto stub = Make("##?");  // shorter than the prefix it should carry
    EXPECT_EQ(stub->Path(), "\\\\.\\");
    EXPECT_FALSE(stub->IsPresent());
}

TEST_F(KeyboardDriverLedDeviceTest, LogsWhatTheDriverAnswers) {
    const std::string key_name = Keyboard(3);
    Driver(key_name).translation = std::vector<platform::IndicatorKey>{{0x3a, 4}, {0x45, 2}, {0x46, 1}};
    Driver(key_name).led_flags = 0x2;
    Make(key_name);
    EXPECT_EQ(log.text,
              "\nID: " + key_name + "\n" + std::string(79, '-') + "\n"
              "Description : HID Keyboard Device\n"
              "KeyboardIdentifier.Type : 4\n"
              "KeyboardIdentifier.Subtype : 0\n"
              "KeyboardMode : 1\n"
              "NumberOfFunctionKeys : 12\n"
              "NumberOfIndicators : 3\n"
              "NumberOfKeysTotal : 101\n"
              "NumberOfIndicatorKeys : 3\n"
              "3a-0004 45-0002 46-0001 \n"
              "UnitID : 0\n"
              "LedFlags : 0002\n");
}

TEST_F(KeyboardDriverLedDeviceTest, LogCountsTheDriversKeysButListsOnlyThoseThatArrived) {
    const std::string key_name = Keyboard(3);
    Driver(key_name).translation = std::vector<platform::IndicatorKey>(30, {0x3a, 4});  // 24 fit the answer
    Make(key_name);
    std::string listed;
    for (int i = 0; i < 24; ++i) listed += "3a-0004 ";
    EXPECT_NE(log.text.find("NumberOfIndicatorKeys : 30\n" + listed + "\n"), std::string::npos) << log.text;
}

TEST_F(KeyboardDriverLedDeviceTest, LogLeavesOutTheAnswersThatFailed) {
    const std::string key_name = Keyboard(3);
    Driver(key_name).attributes.reset();
    Driver(key_name).translation = std::vector<platform::IndicatorKey>{};
    Driver(key_name).query_indicators_fails = true;
    Make(key_name);
    EXPECT_EQ(log.text, "\nID: " + key_name + "\n" + std::string(79, '-') + "\n"
                         "Description : HID Keyboard Device\n"
                         "NumberOfIndicatorKeys : 0\n"
                         "\n");

    log.text.clear();
    Driver(key_name).open_error = 5;
    Make(key_name);
    EXPECT_EQ(log.text, "\nID: " + key_name + "\n" + std::string(79, '-') + "\nFailed to open, LastError=5\n");
}
