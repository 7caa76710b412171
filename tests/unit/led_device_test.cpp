#include "devices/led_device.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A device whose hardware is a list of the output words it was sent.
class RecordingDevice : public cLedDevice {
public:
    struct Write {
        uint32_t on;
        uint32_t driven;
        bool operator==(const Write&) const = default;
    };

    explicit RecordingDevice(int led_count = 3) : cLedDevice(led_count) {}
    ~RecordingDevice() override { Deactivate(); }

    bool Open() override { return open_result; }
    void Close() override { ++closes; }
    void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) override {
        RecordOutputs(lit, driven);
        writes.push_back({OutputsOn(lit, driven, blank), driven});
    }

    // Three plain LEDs on bits 0, 1, 2 that list Off, On, the blinks and Pulse.
    void AddPlainLeds() {
        for (int i = 0; i < LedCount(); ++i) {
            led_descriptor& d = leds_[i];
            d.line_mask = 1u << i;
            for (int8_t s : {led_state::Off, led_state::On, led_state::BlinkSlow, led_state::Blink,
                             led_state::BlinkFast, led_state::Pulse})
                d.AddState(s, d.line_mask);
            d.level = 100;
        }
    }
    // One full-colour LED on bits 0 (red), 1 (green), 2 (blue).
    void MakeColourLed() {
        led_count_ = 1;
        led_descriptor& d = leds_[0];
        d.line_mask = 0x7;
        d.per_state_levels = true;
        d.AddState(led_state::Off, 0);
        d.AddState(led_state::Red, 0x1);
        d.AddState(led_state::Yellow, 0x3);
        d.AddState(led_state::White, 0x7);
    }
    void SetLevelPeriod(int32_t ms) { level_period_ = ms; }
    void SupportLevelControl() { level_control_supported_ = true; }
    void SetText(std::string_view text) {
        SetId(text);
        SetDescription(text);
    }
    void StartLevelControl() override { ++starts; }
    void StopLevelControl() override { ++stops; }
    void SaveCalibration() override { ++saves; }

    uint32_t LastOn() const { return writes.empty() ? 0xDEAD : writes.back().on; }

    std::vector<Write> writes;
    bool open_result = true;
    int closes = 0, starts = 0, stops = 0, saves = 0;
};

void Frame(cLedDevice& device, std::initializer_list<std::pair<int, int8_t>> states, bool hold = false) {
    device.BeginUpdate();
    for (auto [led, state] : states) device.SetLedState(led, state, hold);
    device.EndUpdate(true);
}

class LedDeviceTest : public testing::Test {
protected:
    void SetUp() override {
        device.AddPlainLeds();
        ASSERT_TRUE(device.Activate());
    }
    RecordingDevice device;
};

}  // namespace

TEST_F(LedDeviceTest, OffAndUndefinedDriveTheLedDarkAndOtherCodesLightIt) {
    Frame(device, {{0, led_state::Undefined}, {1, led_state::Off}, {2, led_state::On}});
    EXPECT_EQ(device.writes.back(), (RecordingDevice::Write{0x4, 0x7}));

    Frame(device, {{0, led_state::Red}});  // not listed, still steady light on a plain LED
    EXPECT_EQ(device.writes.back(), (RecordingDevice::Write{0x1, 0x1}));
}

TEST_F(LedDeviceTest, LedsOutsideTheDeviceAreIgnored) {
    Frame(device, {{-1, led_state::On}, {3, led_state::On}});
    EXPECT_EQ(device.writes.back(), (RecordingDevice::Write{0, 0}));
}

TEST_F(LedDeviceTest, BlinkAndPulseBlankingAtEveryPhase) {
    Frame(device, {{0, led_state::BlinkFast}, {1, led_state::Blink}, {2, led_state::BlinkSlow}});
    // Phase counter 0 was written by the frame; 1 to 15 by AdvancePhase.
    std::vector<uint32_t> on{device.LastOn()};
    for (int tick = 1; tick < 16; ++tick) {
        device.AdvancePhase();
        on.push_back(device.LastOn());
    }
    // p = counter / 2: blink fast dark on odd p, blink on p 2,3,6,7, blink slow on p 4..7.
    const std::vector<uint32_t> expected{7, 7, 6, 6, 5, 5, 4, 4, 3, 3, 2, 2, 1, 1, 0, 0};
    EXPECT_EQ(on, expected);

    Frame(device, {{0, led_state::Pulse}});  // at counter 15: the next tick starts the cycle
    std::vector<uint32_t> pulse;
    for (int tick = 0; tick < 16; ++tick) {
        device.AdvancePhase();
        pulse.push_back(device.LastOn());
    }
    const std::vector<uint32_t> pulse_expected{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(pulse, pulse_expected) << "lit only at counters 0 and 1 of the cycle";
}

TEST_F(LedDeviceTest, ChangingStateEndsTheBlink) {
    Frame(device, {{0, led_state::Blink}});
    device.AdvancePhase();
    device.AdvancePhase();
    device.AdvancePhase();
    device.AdvancePhase();  // counter 4: blink dark
    EXPECT_EQ(device.LastOn(), 0u);
    Frame(device, {{0, led_state::On}});
    EXPECT_EQ(device.LastOn(), 1u);
}

TEST_F(LedDeviceTest, InvertedLedsAreLitAtRestAndDarkWhenDriven) {
    RecordingDevice inverted;
    inverted.AddPlainLeds();
    inverted.GetLed(1)->inverted = true;
    inverted.Activate();
    EXPECT_EQ(inverted.InvertedBits(), 0x2u);

    Frame(inverted, {{0, led_state::On}, {1, led_state::On}});
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0x1, 0x3})) << "lit inverted LED: line off";
    Frame(inverted, {{1, led_state::Off}});
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0x2, 0x2})) << "dark inverted LED: line on";

    Frame(inverted, {{1, led_state::Blink}});
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0x0, 0x2})) << "lit phase: line off";
    for (int tick = 0; tick < 4; ++tick) inverted.AdvancePhase();  // counter 4: "Blink" is dark
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0x2, 0x2})) << "dark phase: line on";
}

TEST(LedDeviceColour, PerStateLevelsLightTheStateLinesWithTheirOnTimes) {
    RecordingDevice colour;
    colour.MakeColourLed();
    colour.SetLevelPeriod(20);
    colour.ResetLevels();
    colour.GetLed(0)->levels[2][1] = 50;  // Yellow: green at half
    colour.Activate();

    Frame(colour, {{0, led_state::Yellow}});
    EXPECT_EQ(colour.writes.back(), (RecordingDevice::Write{0x3, 0x7}));
    EXPECT_EQ(colour.OnTime(0), 20);
    EXPECT_EQ(colour.OnTime(1), 10);
    EXPECT_EQ(colour.OnTime(2), 0) << "blue has level 0 in yellow";

    Frame(colour, {{0, led_state::Blink}});
    EXPECT_EQ(colour.writes.back(), (RecordingDevice::Write{0, 0x7})) << "a code the LED does not list is dark";
}

TEST(LedDeviceColour, ResetLevelsTouchesOnlyTheLinesOfEachState) {
    RecordingDevice colour;
    colour.MakeColourLed();
    colour.ResetLevels();
    const led_descriptor& d = *colour.GetLed(0);
    EXPECT_EQ(d.level, 100);
    EXPECT_EQ(d.levels[1][0], 100);  // Red: red line
    EXPECT_EQ(d.levels[1][1], 0);
    EXPECT_EQ(d.levels[3][2], 100);  // White: blue line
    EXPECT_EQ(d.levels[0][0], 0);    // Off lights nothing
}

TEST_F(LedDeviceTest, SuspendKeepsOnlyHeldLedsAndResumeRestoresTheFrame) {
    device.BeginUpdate();
    device.SetLedState(0, led_state::On, true);
    device.SetLedState(1, led_state::On, false);
    device.EndUpdate(true);
    device.writes.clear();

    device.Suspend();
    ASSERT_EQ(device.writes.size(), 1u);
    EXPECT_EQ(device.writes[0], (RecordingDevice::Write{0x1, 0x3})) << "only the held LED stays lit";

    // Each kind of device keeps these from its hardware while suspended; this one records them.
    Frame(device, {{0, led_state::On}, {1, led_state::Off}});
    device.AdvancePhase();

    device.Resume();
    EXPECT_EQ(device.writes.back(), (RecordingDevice::Write{0x3, 0x3}))
        << "resume shows what was lit when the system went to sleep, unblanked";
}

TEST_F(LedDeviceTest, HoldIsForgottenWhenTheNextStateComesWithoutIt) {
    device.BeginUpdate();
    device.SetLedState(0, led_state::On, true);
    device.EndUpdate(true);
    EXPECT_EQ(device.HoldBits(), 0x1u);
    Frame(device, {{0, led_state::On}}, false);
    EXPECT_EQ(device.HoldBits(), 0u);
}

TEST_F(LedDeviceTest, DeactivateLeavesOutputsAtRestOrDarkAfterSessionEnd) {
    RecordingDevice inverted;
    inverted.AddPlainLeds();
    inverted.GetLed(0)->inverted = true;
    inverted.Activate();
    Frame(inverted, {{0, led_state::On}, {1, led_state::On}});

    inverted.Deactivate();
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0, 0})) << "at rest: the inverted LED lights";
    EXPECT_EQ(inverted.closes, 1);
    EXPECT_FALSE(inverted.IsOpened());

    inverted.Activate();
    Frame(inverted, {{0, led_state::On}, {1, led_state::On}});
    inverted.MarkSessionEnd();
    inverted.Deactivate();
    EXPECT_EQ(inverted.writes.back(), (RecordingDevice::Write{0x1, 0x3})) << "dark: the inverted line is driven";

    const size_t writes = inverted.writes.size();
    inverted.Deactivate();
    EXPECT_EQ(inverted.writes.size(), writes) << "a closed device is not written";
    EXPECT_EQ(inverted.closes, 2);
}

TEST(LedDeviceActivation, FailedOpenLeavesTheDeviceClosed) {
    RecordingDevice device;
    device.open_result = false;
    EXPECT_FALSE(device.Activate());
    EXPECT_FALSE(device.IsOpened());
    device.Deactivate();
    EXPECT_EQ(device.closes, 0);
}

TEST(LedDeviceLevelControl, OnlySupportedDevicesStartStopAndSave) {
    RecordingDevice plain;
    plain.SetLevelControl(true);
    EXPECT_EQ(plain.starts + plain.saves, 0);
    EXPECT_FALSE(plain.LevelControlEnabled());

    RecordingDevice supported;
    supported.SupportLevelControl();
    supported.SetLevelControl(true);
    supported.SetLevelControl(true);
    supported.SetLevelControl(false);
    EXPECT_EQ(supported.starts, 1);
    EXPECT_EQ(supported.stops, 1);
    EXPECT_EQ(supported.saves, 3) << "saved whether or not it changed";
}

TEST(LedDeviceLookups, LedsAndStateNames) {
    RecordingDevice device;
    device.AddPlainLeds();
    EXPECT_EQ(device.GetLed(-1), nullptr);
    EXPECT_EQ(device.GetLed(3), nullptr);
    EXPECT_NE(device.GetLed(2), nullptr);
    EXPECT_EQ(device.GetStateName(0, led_state::BlinkSlow), "Blink slow");
    EXPECT_EQ(device.GetStateName(0, led_state::Red), "Invalid for this device");
    EXPECT_EQ(device.GetStateName(0, led_state::Undefined), "Invalid for this device");
    EXPECT_EQ(device.GetStateName(3, led_state::On), "Invalid for this device");
    EXPECT_EQ(device.GetLedName(3), "Invalid for this device");

    device.GetLed(1)->AddState(14, 0x2);
    EXPECT_EQ(device.GetStateName(1, 14), "Invalid");
}

TEST(LedDeviceTexts, LongTextsAreCut) {
    RecordingDevice device;
    device.SetText(std::string(500, 'x'));
    EXPECT_EQ(device.Id().size(), cLedDevice::kMaxTextLength);
    EXPECT_EQ(device.Description(), std::string(199, 'x'));
}
