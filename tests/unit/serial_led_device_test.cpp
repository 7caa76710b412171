// Construction: what the probe recognises on a port, and what it reads from the registry.
#include "settings/led_vocabulary.h"
#include "tests/common/text_detection_log.h"
#include "tests/unit/serial_device_fixture.h"

#include <optional>

using platform::CommFunction;
using platform::kMsCtsOn;
using platform::kMsDsrOn;
using platform::kMsRlsdOn;
using platform::fake::PortWiring;

namespace {

struct module_case {
    const char* name;
    PortWiring wiring;
    int16_t hardware_id;
    const char* description;
    uint16_t line_mask;
    bool inverted;
    bool full_colour;
};

const std::vector<int8_t> kOneColourStates = {led_state::Off,   led_state::On,        led_state::BlinkSlow,
                                               led_state::Blink, led_state::BlinkFast, led_state::Pulse};
const std::vector<int8_t> kFullColourStates = {led_state::Off,  led_state::Red,     led_state::Green,
                                                led_state::Blue, led_state::Cyan,    led_state::Magenta,
                                                led_state::Yellow, led_state::White};

std::vector<int8_t> States(const led_descriptor& led) { return {led.states, led.states + led.state_count}; }
std::vector<uint16_t> StateLines(const led_descriptor& led) {
    return {led.state_lines, led.state_lines + led.state_count};
}

}  // namespace

using SerialProbe = SerialDeviceFixture;

class SerialModules : public SerialDeviceFixture, public testing::WithParamInterface<module_case> {};

TEST_P(SerialModules, AreRecognisedFromTheirWiring) {
    const module_case& c = GetParam();
    ports.AddPort(3, c.wiring);
    auto device = Build(3);

    EXPECT_TRUE(device->IsPresent());
    EXPECT_EQ(device->HardwareId(), c.hardware_id);
    EXPECT_EQ(device->Description(), c.description);
    EXPECT_EQ(device->Id(), "COM3");
    EXPECT_EQ(device->Classification(), classification::SerialModule);
    ASSERT_EQ(device->LedCount(), 1);
    const led_descriptor& led = *device->GetLed(0);
    EXPECT_EQ(led.line_mask, c.line_mask);
    EXPECT_EQ(led.inverted, c.inverted);
    EXPECT_EQ(led.per_state_levels, c.full_colour);
    if (c.full_colour) {
        EXPECT_EQ(States(led), kFullColourStates);
        EXPECT_EQ(StateLines(led), (std::vector<uint16_t>{0, 0x1, 0x2, 0x4, 0x6, 0x5, 0x3, 0x7}));
        EXPECT_EQ(led.levels[1][0], 100) << "red is calibrated on DTR";
        EXPECT_EQ(led.levels[1][1], 0) << "and only there";
        EXPECT_EQ(led.levels[7][2], 100);
    } else {
        EXPECT_EQ(States(led), kOneColourStates);
        EXPECT_EQ(StateLines(led), (std::vector<uint16_t>{0, 0x4, 0x4, 0x4, 0x4, 0x4}));
        EXPECT_EQ(led.level, 100);
    }
    EXPECT_EQ(device->GetLed(1), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    FourModules, SerialModules,
    testing::Values(
        module_case{"NormallyOn", {.dtr = kMsDsrOn}, 0x1002, "Single LED (normally on) on COM3", 0x4, true, false},
        module_case{"CommonCathode", {.dtr = kMsRlsdOn}, 0x1008, "Full-color LED (cc) on COM3", 0x7, false, true},
        module_case{"NormallyOff", {.rts = kMsCtsOn}, 0x1010, "Single LED (normally off) on COM3", 0x4, false, false},
        module_case{"CommonAnode", {.rts = kMsRlsdOn}, 0x1080, "Full-color LED (ca) on COM3", 0x7, true, true}),
    [](const testing::TestParamInfo<module_case>& info) { return info.param.name; });

TEST_F(SerialProbe, SilentPortGetsThreePlainLeds) {
    ports.AddPort(12);
    auto device = Build(12);

    EXPECT_EQ(device->HardwareId(), 0x1000);
    EXPECT_EQ(device->Classification(), classification::SerialPlain);
    EXPECT_EQ(device->Description(), "COM12");
    ASSERT_EQ(device->LedCount(), 3);
    for (int i = 0; i < 3; ++i) {
        const led_descriptor& led = *device->GetLed(i);
        const uint16_t line = static_cast<uint16_t>(1 << i);
        EXPECT_EQ(led.line_mask, line);
        EXPECT_FALSE(led.inverted);
        EXPECT_EQ(States(led), kOneColourStates);
        EXPECT_EQ(StateLines(led), (std::vector<uint16_t>{0, line, line, line, line, line}));
        EXPECT_EQ(led.level, 100);
    }
}

TEST_F(SerialProbe, InputAnsweringSeveralLinesIsNoModule) {
    ports.AddPort(1, {.held = kMsDsrOn});  // a modem holding DSR
    auto device = Build(1);
    EXPECT_EQ(device->HardwareId(), 0x1222);
    EXPECT_EQ(device->Classification(), classification::SerialAnswersSeveral);
    EXPECT_EQ(device->LedCount(), 3);
    EXPECT_EQ(device->Description(), "COM1");

    // Any two of the three readings sharing an input are enough; inputs of their own are not.
    const struct {
        PortWiring wiring;
        uint8_t classification;
    } cases[] = {
        {{.dtr = kMsDsrOn, .rts = kMsDsrOn}, classification::SerialAnswersSeveral},
        {{.dtr = kMsRlsdOn, .txd = kMsRlsdOn}, classification::SerialAnswersSeveral},
        {{.rts = kMsCtsOn, .txd = kMsCtsOn}, classification::SerialAnswersSeveral},
        {{.dtr = kMsCtsOn, .rts = kMsDsrOn, .txd = kMsRlsdOn}, classification::SerialPlain},
    };
    int port = 2;
    for (const auto& c : cases) {
        ports.AddPort(port, c.wiring);
        EXPECT_EQ(Build(port)->Classification(), c.classification) << "COM" << port;
        ++port;
    }
}

TEST_F(SerialProbe, RingIndicatorIsIgnoredAndTxdAnswersLandInTheHighGroup) {
    ports.AddPort(1, {.dtr = 0x40, .txd = kMsCtsOn | kMsRlsdOn});
    EXPECT_EQ(Build(1)->HardwareId(), 0x1900);
}

TEST_F(SerialProbe, SwitchesEachLineAloneAndLeavesThemOffAndThePortClosed) {
    ports.AddPort(2);
    auto device = Build(2);
    std::vector<CommFunction> functions;
    for (const LineWrite& write : ports.port(2).writes) functions.push_back(write.function);
    EXPECT_EQ(functions, (std::vector<CommFunction>{CommFunction::ClrRts, CommFunction::ClrBreak, CommFunction::SetDtr,
                                                     CommFunction::ClrDtr, CommFunction::SetRts, CommFunction::ClrRts,
                                                     CommFunction::SetBreak, CommFunction::ClrBreak}));
    EXPECT_EQ(ports.port(2).access, platform::kGenericRead | platform::kGenericWrite);
    EXPECT_FALSE(ports.port(2).open);
    EXPECT_FALSE(ports.port(2).dtr || ports.port(2).rts || ports.port(2).brk);
}

TEST_F(SerialProbe, BusyPortsAreListedWithoutLeds) {
    for (uint32_t error : {5u, 31u, 32u, 121u}) {
        ports.AddBusyPort(2, error);
        cTextDetectionLog log;
        auto device = Build(2, &log);
        EXPECT_TRUE(device->IsPresent()) << error;
        EXPECT_EQ(device->Classification(), classification::NotClassified);
        EXPECT_EQ(device->HardwareId(), 0);
        EXPECT_EQ(device->Description(), "COM2");
        EXPECT_EQ(device->LedCount(), 3);
        EXPECT_EQ(device->GetLed(0)->state_count, 0);
        EXPECT_EQ(log.text, "") << "a busy port writes nothing to the detection log";
    }
}

TEST_F(SerialProbe, OtherOpenErrorsMeanNoPort) {
    EXPECT_FALSE(Build(4)->IsPresent());
    ports.AddBusyPort(5, 87);  // invalid parameter
    EXPECT_FALSE(Build(5)->IsPresent());
}

TEST_F(SerialProbe, WaitsForAdaptersButNotForStandardPorts) {
    ListAcpiPort("1", "COM1", "Communications Port");
    ListUsbPort("VID_0403&PID_6001", "COM7");
    ports.AddPort(1, {.dtr = kMsRlsdOn});
    // Adapters pass a line change on to the inputs only once their delay has passed.
    ports.AddPort(7, {.dtr = kMsDsrOn}).answer_delay_ms = 50;
    ports.AddPort(9, {.rts = kMsCtsOn}).answer_delay_ms = 200;  // in no registry list: its kind is unknown

    uint32_t start = clock.TickCount();
    auto standard = Build(1);
    EXPECT_EQ(clock.TickCount() - start, 0u);
    EXPECT_EQ(standard->HardwareId(), 0x1008);
    EXPECT_TRUE(standard->LevelControlSupported());

    start = clock.TickCount();
    auto usb = Build(7);
    EXPECT_EQ(clock.TickCount() - start, 150u) << "three readings after the default 50 ms";
    EXPECT_EQ(usb->HardwareId(), 0x1002) << "each reading comes after its wait";
    EXPECT_FALSE(usb->LevelControlSupported());

    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("SerialUSBDetectionDelay", 200);
    start = clock.TickCount();
    auto unknown = Build(9);
    EXPECT_EQ(clock.TickCount() - start, 600u);
    EXPECT_EQ(unknown->HardwareId(), 0x1010);
    EXPECT_TRUE(unknown->LevelControlSupported());
}

TEST_F(SerialProbe, WritesTheDefaultDelayAndNeverWaitsForeverOnANegativeOne) {
    ports.AddPort(9);
    Build(9);
    auto settings = registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey);
    EXPECT_EQ(settings->ReadDword("SerialUSBDetectionDelay"), 50u);

    settings->WriteDword("SerialUSBDetectionDelay", 0xFFFFFFFF);
    const uint32_t start = clock.TickCount();
    Build(9);
    EXPECT_EQ(clock.TickCount() - start, 0u);
}

TEST_F(SerialProbe, FailedModemReadingIsReportedAndCountsAsSilence) {
    ports.AddPort(3, {.dtr = kMsDsrOn}).fail_modem_status = true;
    auto device = Build(3);
    EXPECT_EQ(device->HardwareId(), 0x1000);
    ASSERT_EQ(message_boxes.shown.size(), 3u);
    EXPECT_EQ(message_boxes.shown[0].caption, "Error");
    EXPECT_EQ(message_boxes.shown[0].text, "GetCommModemStatus");
}

using SerialRegistryData = SerialDeviceFixture;

TEST_F(SerialRegistryData, UsbPortsCarryTheirDeviceKeyAndProlificIsRecognisedInAnyCase) {
    ListUsbPort("vid_067b&pid_2303", "COM4");
    ports.AddPort(4);
    auto device = Build(4);
    EXPECT_EQ(device->PortType(), PT_USB_COM);
    EXPECT_EQ(device->ManufacturerDeviceId(), "vid_067b&pid_2303");
    EXPECT_EQ(device->DeviceDesc(), "-");
    EXPECT_TRUE(device->IsProlific());

    ListUsbPort("VID_6189&PID_2068", "COM6");
    ports.AddPort(6);
    EXPECT_TRUE(Build(6)->IsProlific()) << "the other adapter with a PL-2303 inside";

    ListUsbPort("VID_0403&PID_6001", "COM5");
    ports.AddPort(5);
    EXPECT_FALSE(Build(5)->IsProlific());
}

TEST_F(SerialRegistryData, OverlongTextsAreCut) {
    const std::string long_desc(300, 'd');
    const std::string long_device(250, 'v');
    ListAcpiPort("1", "COM1", long_desc);
    ListUsbPort(long_device, "COM2");
    ports.AddPort(1);
    ports.AddPort(2);
    EXPECT_EQ(Build(1)->DeviceDesc(), long_desc.substr(0, 199));
    EXPECT_EQ(Build(2)->ManufacturerDeviceId(), long_device.substr(0, 199));
}

TEST_F(SerialRegistryData, WrongTypedDeviceDescReadsAsMissing) {
    ListAcpiPort("1", "COM1", "x");
    registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\1")
        ->WriteDword("DeviceDesc", 7);
    ports.AddPort(1);
    auto device = Build(1);
    EXPECT_EQ(device->PortType(), PT_STANDARD_COM);
    EXPECT_EQ(device->DeviceDesc(), "-");
}

TEST(SerialPortTypeName, NamesTheFourTypesAndNothingElse) {
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(0), "PT_UNKNOWN");
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(1), "PT_STANDARD_COM");
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(2), "PT_USB_COM");
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(3), "PT_BLUETOOTH_COM");
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(4), "Undefined");
    EXPECT_STREQ(cSerialLedDevice::PortTypeName(-1), "Undefined");
}

using SerialDetectionLog = SerialDeviceFixture;

TEST_F(SerialDetectionLog, PortBlockNamesTheRegistryDataAndTheProbeResult) {
    ListAcpiPort("1", "COM1", "Communications Port");
    ports.AddPort(1, {.dtr = kMsRlsdOn});
    ListUsbPort("VID_067B&PID_2303", "COM6");
    ports.AddPort(6);
    cTextDetectionLog log;
    Build(1, &log);
    Build(6, &log);
    EXPECT_EQ(log.text,
              "\n"
              "ID: COM1\n"
              "-------------------------------------------------------------------------------\n"
              "Description          : Full-color LED (cc) on COM1\n"
              "DeviceDesc           : Communications Port\n"
              "HardwareID           : 1008\n"
              "PortType             : PT_STANDARD_COM\n"
              "ManufacturerDeviceID : \n"
              "\n"
              "ID: COM6\n"
              "-------------------------------------------------------------------------------\n"
              "Description          : COM6\n"
              "DeviceDesc           : -\n"
              "HardwareID           : 1000\n"
              "PortType             : PT_USB_COM\n"
              "ManufacturerDeviceID : VID_067B&PID_2303\n");
}

TEST_F(SerialDetectionLog, HeaderComesBeforeAModemStatusFailure) {
    ports.AddPort(1).fail_modem_status = true;
    cTextDetectionLog log;
    // Remembers what the log held when the first message box came.
    struct Recorder final : platform::MessageBoxes {
        explicit Recorder(cTextDetectionLog& l) : log(l) {}
        void ShowError(const std::string&, const std::string&) override {
            if (!seen) seen = log.text;
        }
        cTextDetectionLog& log;
        std::optional<std::string> seen;
    } recorder(log);
    cSerialLedDevice device({ports, timers, registry, clock, recorder}, 1, &log);
    EXPECT_EQ(recorder.seen,
              "\nID: COM1\n-------------------------------------------------------------------------------\n");
}
