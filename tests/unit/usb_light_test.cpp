// USB status lights over the in-memory HID bus: the reports each model is
// sent, the rhythm of writes under the engine, unplugging, and the list that
// enumeration gives (the detection log's block: detection_log_test).
#include "devices/usb_light_led_device.h"
#include "tests/common/keyboard_registration.h"
#include "tests/unit/engine_fixture.h"

namespace {

using Report = platform::fake::FakeHidDevices::Report;
using Kind = platform::fake::FakeHidDevices::ReportKind;
using Bytes = std::vector<uint8_t>;

const std::string kBlink1Path = "\\\\?\\hid#vid_27b8&pid_01ed#7&1b2c&0&0000#{4d1e55b2-f16f-11cf-88cb-001111000030}";

const platform::HidIdentity kBlink1 = {0x27B8, 0x01ED, 2, 0, 9};
const platform::HidIdentity kBlinkStick = {0x20A0, 0x41E5, 0x0200, 0, 33};
const platform::HidIdentity kLuxafor = {0x04D8, 0xF372, 1, 9, 0};
const platform::HidIdentity kMouse = {0x046D, 0xC077, 0x7200, 0, 0};

Bytes Padded(Bytes bytes, std::size_t length) {
    bytes.resize(length);
    return bytes;
}

}  // namespace

class UsbLight : public EngineFixture {
protected:
    std::vector<Report>& Reports(const std::string& path = kBlink1Path) { return hid.At(path).reports; }
    // The colours written to one LED of a blink(1) mk2, in order.
    std::vector<Bytes> ColoursOf(uint8_t led_code) {
        std::vector<Bytes> colours;
        for (const Report& report : Reports())
            if (report.bytes[7] == led_code) colours.push_back({report.bytes.begin() + 2, report.bytes.begin() + 5});
        return colours;
    }
};

// From the makers' published protocols: blink(1) "set colour now" in feature
// report 1, BlinkStick feature report 1 in RGB order, Luxafor's output command
// 1 (static colour) to the flag (0x41) or the back (0x42); every report as long
// as the interface declares it.
TEST_F(UsbLight, EachModelIsSentItsOwnReportForEachColour) {
    struct Case {
        platform::HidIdentity identity;
        const char* serial_number;
        const char* description;
        int led;
        int8_t state;
        Report expected;
    };
    const Case cases[] = {
        {kBlink1, "2000AB12", "blink(1) mk2 (USB)", 0, led_state::Red, {Kind::Feature, {1, 'n', 255, 0, 0, 0, 0, 1, 0}}},
        {kBlink1, "2000AB12", "blink(1) mk2 (USB)", 1, led_state::Cyan, {Kind::Feature, {1, 'n', 0, 255, 255, 0, 0, 2, 0}}},
        {kBlink1, "3A000001", "blink(1) mk3 (USB)", 1, led_state::Magenta, {Kind::Feature, {1, 'n', 255, 0, 255, 0, 0, 2, 0}}},
        {kBlink1, "1A000001", "blink(1) mk1 (USB)", 0, led_state::Yellow, {Kind::Feature, {1, 'n', 255, 255, 0, 0, 0, 0, 0}}},
        {kBlink1, "", "blink(1) (USB)", 0, led_state::On, {Kind::Feature, {1, 'n', 255, 255, 255, 0, 0, 0, 0}}},
        {kBlinkStick, "BS012345-3.0", "BlinkStick (USB)", 0, led_state::Green, {Kind::Feature, Padded({1, 0, 255, 0}, 33)}},
        {kBlinkStick, "BS012345-3.0", "BlinkStick (USB)", 0, led_state::Off, {Kind::Feature, Padded({1, 0, 0, 0}, 33)}},
        {kLuxafor, "", "Luxafor Flag (USB)", 0, led_state::Blue, {Kind::Output, {0, 1, 0x41, 0, 0, 255, 0, 0, 0}}},
        {kLuxafor, "", "Luxafor Flag (USB)", 1, led_state::White, {Kind::Output, {0, 1, 0x42, 255, 255, 255, 0, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.description + std::string(" LED ") + std::to_string(c.led));
        const std::string path = "light" + std::to_string(&c - cases);
        hid.Plug(path, c.identity, c.serial_number);
        cUsbLightLedDevice light({hid, registry, clock}, path, nullptr);
        ASSERT_TRUE(light.IsPresent());
        EXPECT_EQ(light.Description(), c.description);
        ASSERT_TRUE(light.Activate());
        light.BeginUpdate();
        light.SetLedState(c.led, c.state, false);
        light.EndUpdate(true);
        // The first frame writes every LED in order; the others are off.
        ASSERT_EQ(Reports(path).size(), static_cast<std::size_t>(light.LedCount()));
        EXPECT_EQ(Reports(path)[c.led], c.expected);
    }
}

TEST_F(UsbLight, WritesOnlyChangesAndRepairsEveryFiveSeconds) {
    hid.Plug(kBlink1Path, kBlink1, "2000AB12");
    StartAndOpen(kBlink1Path);
    Ticks(1);
    // A fresh light shows its kind's defaults: "Power on" white.
    EXPECT_EQ(ColoursOf(1), (std::vector<Bytes>{{255, 255, 255}}));

    Relate({{event::PowerOn, 0, led_state::BlinkFast, priority::Normal},
            {event::PowerOn, 1, led_state::Pulse, priority::Normal}});
    Ticks(8);
    Reports().clear();
    Ticks(16);  // one whole cycle of the rhythm, 2 s, before the first repair
    EXPECT_EQ(ColoursOf(1).size(), 8u) << "blink fast: one write per 250 ms phase";
    EXPECT_EQ(ColoursOf(2).size(), 2u) << "pulse: lit and dark once in 2 s";
    EXPECT_NE(ColoursOf(1)[0], ColoursOf(1)[1]);

    Relate({{event::PowerOn, 0, led_state::Green, priority::Normal}});
    Ticks(1);
    Reports().clear();
    Ticks(80);  // 10 s of a steady frame
    EXPECT_EQ(ColoursOf(1), (std::vector<Bytes>{{0, 255, 0}, {0, 255, 0}}));
    EXPECT_EQ(ColoursOf(2), (std::vector<Bytes>{{0, 0, 0}, {0, 0, 0}}));

    // The held LED keeps its light through a suspend; at resume the light is written anew.
    Reports().clear();
    engine->OnPowerEvent({platform::kPbtApmSuspend, {}, std::nullopt});
    Ticks(8);
    engine->OnPowerEvent({platform::kPbtApmResumeAutomatic, {}, std::nullopt});
    EXPECT_EQ(ColoursOf(1), (std::vector<Bytes>{{0, 0, 0}, {0, 0, 0}, {0, 255, 0}}));

    // Calibrated levels are the channels' brightness under level control.
    engine->CurrentDevice().GetLed(0)->levels[7][1] = 40;  // Green (listed eighth): its green channel
    engine->CurrentDevice().SetLevelControl(true);
    Ticks(1);
    EXPECT_EQ(ColoursOf(1).back(), (Bytes{0, 102, 0}));
    engine.reset();
    EXPECT_EQ(ColoursOf(1).back(), (Bytes{0, 0, 0})) << "dark on close";
    EXPECT_EQ(hid.At(kBlink1Path).open_connections, 0);
}

TEST_F(UsbLight, UnpluggedLightGivesWayToTheKeyboardAndReturnsOnRefresh) {
    hid.Plug(kBlink1Path, kBlink1, "2000AB12");
    StartAndOpen(kBlink1Path);
    Ticks(1);
    hid.Unplug(kBlink1Path);
    Ticks(40);  // a steady light is written again within 5 s
    EXPECT_EQ(engine->CurrentDevice().HardwareId(), 0x2003) << "the fallback keyboard";
    EXPECT_EQ((*engine->Relations().begin())->state, led_state::On) << "with its own relations, not the light's";
    using Shown = platform::fake::FakeMessageBoxes::Shown;
    EXPECT_EQ(message_boxes.shown, (std::vector<Shown>{{"blink(1) mk2 (USB)", "Error: failed to write to device"}}));

    hid.Plug(kBlink1Path, kBlink1, "2000AB12");
    Reports().clear();
    engine->FallBack();
    engine->Devices().Refresh(nullptr, false);
    engine->OpenDevice(kBlink1Path);
    Ticks(1);
    EXPECT_EQ(engine->CurrentDevice().Id(), kBlink1Path);
    EXPECT_EQ(ColoursOf(1), (std::vector<Bytes>{{255, 255, 255}}));
    EXPECT_EQ(message_boxes.shown.size(), 1u);
}

TEST_F(UsbLight, LightsAreListedAfterPortsBeforeKeyboards) {
    ports.AddPort(1);
    const std::string keyboard = RegisterKeyboard(registry, "kbd", "HID Keyboard Device");
    keyboards.Add(KeyboardPath(keyboard));
    hid.Plug("mouse", kMouse);
    hid.Plug(kBlink1Path, kBlink1, "2000AB12");
    hid.Plug("gone", kLuxafor);
    hid.Unplug("gone");
    Start();
    engine->Devices().Refresh(nullptr, false);

    ASSERT_EQ(engine->Devices().Count(), 3);
    EXPECT_EQ(engine->Devices().Item(1)->Id(), kBlink1Path);
    EXPECT_EQ(engine->Devices().Item(2)->Id(), keyboard);
    const cLedDevice& light = *engine->Devices().Item(1);
    EXPECT_EQ(light.HardwareId(), 0x3655);
    EXPECT_EQ(light.Classification(), classification::UsbLight);
    EXPECT_EQ(light.ManufacturerDeviceId(), "VID_27B8&PID_01ED");
    EXPECT_TRUE(hid.At(kBlink1Path).reports.empty()) << "probing leaves the light as it is";
}
