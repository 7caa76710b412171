#include "devices/serial_led_device.h"

#include "devices/detection_log.h"
#include "devices/serial_lines.h"
#include "settings/led_vocabulary.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

using platform::CommFunction;

namespace {

constexpr int32_t kLevelPeriodMs = 20;
constexpr int32_t kDefaultProbeDelayMs = 50;
constexpr int kGenericLedCount = 3;
constexpr uint16_t kProbeBase = 0x1000;
// The ring indicator plays no part in recognising a module.
constexpr uint32_t kProbedInputs = platform::kMsCtsOn | platform::kMsDsrOn | platform::kMsRlsdOn;

// The LED modules that a probe recognises, by what answers which line: DTR
// raises DSR (normally on), DTR raises RLSD (common cathode), RTS raises CTS
// (normally off), RTS raises RLSD (common anode).
struct led_module {
    int16_t hardware_id;
    const char* description;  // filled with the port number
    bool full_colour;
    bool inverted;
};
constexpr led_module kModules[] = {
    {0x1010, "Single LED (normally off) on COM%d", false, false},
    {0x1002, "Single LED (normally on) on COM%d", false, true},
    {0x1008, "Full-color LED (cc) on COM%d", true, false},
    {0x1080, "Full-color LED (ca) on COM%d", true, true},
};

constexpr uint32_t kAllLinesIntervalMs = 1000;

constexpr uint16_t kTxd = 0x4;
constexpr uint16_t kAllLines = 0x7;

// A one-colour LED on the given lines: off, on, and the three blinks and the pulse.
void ListOneColourStates(led_descriptor& led, uint16_t lines) {
    led.line_mask = lines;
    led.AddState(led_state::Off, 0);
    for (int8_t state : {led_state::On, led_state::BlinkSlow, led_state::Blink, led_state::BlinkFast, led_state::Pulse})
        led.AddState(state, lines);
}

// Red on DTR, green on RTS, blue on TXD, and their mixtures; no blinking.
void ListFullColourStates(led_descriptor& led) {
    led.line_mask = kAllLines;
    led.per_state_levels = true;
    led.AddState(led_state::Off, 0);
    led.AddState(led_state::Red, 0x1);
    led.AddState(led_state::Green, 0x2);
    led.AddState(led_state::Blue, 0x4);
    led.AddState(led_state::Cyan, 0x6);
    led.AddState(led_state::Magenta, 0x5);
    led.AddState(led_state::Yellow, 0x3);
    led.AddState(led_state::White, 0x7);
}

// Errors of a port that exists but is in use or not working right now.
bool MeansBusy(uint32_t error) {
    return error == platform::kErrorAccessDenied || error == platform::kErrorGenFailure ||
           error == platform::kErrorSharingViolation || error == platform::kErrorSemTimeout;
}

bool EqualsIgnoringCase(const std::string& a, const char* b) {
    return std::equal(a.begin(), a.end(), b, b + std::char_traits<char>::length(b), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

cSerialLedDevice::cSerialLedDevice(const serial_led_services& services, int port, cDetectionLog* log)
    : cLedDevice(kGenericLedCount),
      ports_(services.ports),
      timers_(services.timers),
      registry_(services.registry),
      clock_(services.clock),
      message_boxes_(services.message_boxes),
      port_number_(port),
      resume_fix_(services.registry, "ProlificResumeFix"),
      probe_delay_(services.registry, "SerialUSBDetectionDelay", false, kDefaultProbeDelayMs) {
    level_period_ = kLevelPeriodMs;
    const std::string id = "COM" + std::to_string(port);
    SetId(id);
    SetDescription(id);
    SetPath("\\\\.\\" + id);
    present_ = false;

    platform::SerialPorts::OpenResult opened = OpenPort();
    if (!opened.port) {
        // A busy port is listed, but without LEDs: it cannot be probed now.
        present_ = MeansBusy(opened.error);
        return;
    }
    if (log) WriteDeviceHeader(*log, Id());
    present_ = true;
    LookUpPort();
    hardware_id_ = Probe(*opened.port);
    opened.port.reset();
    SetUpLeds();
    ResetLevels();
    if (log) WriteLogLines(*log);
}

cSerialLedDevice::~cSerialLedDevice() {
    Deactivate();
    // A port opened outside Activate (a repeated Activate) must not outlive us either.
    Close();
}

platform::SerialPorts::OpenResult cSerialLedDevice::OpenPort() const {
    return ports_.Open(Path(), platform::kGenericRead | platform::kGenericWrite);
}

void cSerialLedDevice::LookUpPort() {
    if (auto entry = FindSerialPortEntry(registry_, Id())) {
        port_type_ = entry->port_type;
        if (entry->device_desc) device_desc_ = entry->device_desc->substr(0, kMaxTextLength);
        SetManufacturerDeviceId(entry->manufacturer_device_id);
    }
    // USB and Bluetooth adapters cannot switch their lines at millisecond pace.
    level_control_supported_ = port_type_ == PT_UNKNOWN || port_type_ == PT_STANDARD_COM;
}

int16_t cSerialLedDevice::Probe(platform::SerialPort& port) {
    classification_ = classification::SerialPlain;
    auto answers_to = [&](std::initializer_list<CommFunction> functions) {
        for (CommFunction function : functions) port.EscapeCommFunction(function);
        WaitForAdapter();
        return ReadModemInputs(port);
    };
    const uint32_t dtr = answers_to({CommFunction::ClrRts, CommFunction::ClrBreak, CommFunction::SetDtr});
    const uint32_t rts = answers_to({CommFunction::ClrDtr, CommFunction::SetRts});
    const uint32_t txd = answers_to({CommFunction::ClrRts, CommFunction::SetBreak});
    port.EscapeCommFunction(CommFunction::ClrBreak);

    // An input that follows more than one line is no LED module (a modem holding DSR, say).
    if ((dtr & rts) || (dtr & txd) || (rts & txd)) classification_ = classification::SerialAnswersSeveral;
    // Bits 0-3 answer DTR, 4-7 RTS, 8-11 TXD; within each group CTS 1, DSR 2, RLSD 8.
    return static_cast<int16_t>(kProbeBase | (dtr >> 4) | rts | (txd << 4));
}

uint32_t cSerialLedDevice::ReadModemInputs(platform::SerialPort& port) {
    std::optional<uint32_t> status = port.GetCommModemStatus();
    if (!status) {
        message_boxes_.ShowError("Error", "GetCommModemStatus");
        return 0;
    }
    return *status & kProbedInputs;
}

// USB and Bluetooth adapters pass a line change on to the inputs only after a while.
void cSerialLedDevice::WaitForAdapter() {
    if (port_type_ == PT_STANDARD_COM) return;
    // A negative delay would be an endless wait.
    clock_.Sleep(static_cast<uint32_t>(std::max(0, probe_delay_.Get())));
}

void cSerialLedDevice::SetUpLeds() {
    for (const led_module& module : kModules) {
        if (module.hardware_id != hardware_id_) continue;
        classification_ = classification::SerialModule;
        led_count_ = 1;
        char description[64];
        std::snprintf(description, sizeof description, module.description, port_number_);
        SetDescription(description);
        led_descriptor& led = leds_[0];
        led.inverted = module.inverted;
        if (module.full_colour)
            ListFullColourStates(led);
        else
            ListOneColourStates(led, kTxd);
        return;
    }
    for (int i = 0; i < kGenericLedCount; ++i) ListOneColourStates(leds_[i], static_cast<uint16_t>(1u << i));
}

void cSerialLedDevice::WriteLogLines(cDetectionLog& log) const {
    log << "Description          : " << Description() << "\n"
        << "DeviceDesc           : " << device_desc_ << "\n"
        << "HardwareID           : " << Hex(static_cast<uint16_t>(HardwareId())) << "\n"
        << "PortType             : " << PortTypeName(port_type_) << "\n"
        << "ManufacturerDeviceID : " << ManufacturerDeviceId() << "\n";
}

const char* cSerialLedDevice::PortTypeName(int type) {
    switch (type) {
    case PT_UNKNOWN: return "PT_UNKNOWN";
    case PT_STANDARD_COM: return "PT_STANDARD_COM";
    case PT_USB_COM: return "PT_USB_COM";
    case PT_BLUETOOTH_COM: return "PT_BLUETOOTH_COM";
    default: return "Undefined";
    }
}

bool cSerialLedDevice::IsProlific() const {
    return EqualsIgnoringCase(ManufacturerDeviceId(), "VID_067B&PID_2303") ||
           EqualsIgnoringCase(ManufacturerDeviceId(), "VID_6189&PID_2068");
}

bool cSerialLedDevice::Open() {
    if (port_) return false;
    platform::SerialPorts::OpenResult opened = OpenPort();
    if (!opened.port) return false;
    port_ = std::move(opened.port);
    // Only EscapeCommFunction may move DTR and RTS.
    port_->DisableLineControl();
    // What the lines show now is not known.
    write_all_lines_ = true;
    WriteOutputs(0, 0, 0);
    if (LevelControlEnabled()) StartLevelControl();
    return true;
}

void cSerialLedDevice::Close() {
    // The timer must be gone before the port it writes.
    if (LevelControlEnabled() || IsLevelControlRunning()) StopLevelControl();
    port_.reset();
}

void cSerialLedDevice::WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) {
    if (IsSuspended()) return;
    last_lit_ = lit;
    last_driven_ = driven;
    last_blank_ = blank;
    // Level control shows the frame's levels; switched on but stopped for a suspend, it keeps the lines as they are.
    if (level_control_on_)
        ShowLevels();
    else if (!LevelControlEnabled())
        WriteLines(lit, driven, blank);
}

void cSerialLedDevice::WriteLines(uint32_t lit, uint32_t driven, uint32_t blank) {
    SetLines(OutputsOn(lit, driven, blank), AllLinesDue(true));
    RecordOutputs(lit, driven);
}

bool cSerialLedDevice::AllLinesDue(bool may_repair) {
    const uint32_t now = clock_.TickCount();
    const bool all =
        write_all_lines_.exchange(false) || (may_repair && now - all_lines_written_at_ >= kAllLinesIntervalMs);
    if (all) all_lines_written_at_ = now;
    return all;
}

void cSerialLedDevice::SetLines(uint32_t on, bool all) {
    if (!port_) return;
    // A line write is a round trip to a USB adapter: only the lines that change.
    const uint32_t before = lines_on_.exchange(on);
    for (const serial_line& line : kSerialLines)
        if (all || ((on ^ before) & line.bit)) port_->EscapeCommFunction(on & line.bit ? line.on : line.off);
}

void cSerialLedDevice::Suspend() {
    timer_was_running_ = IsLevelControlRunning();
    if (timer_was_running_) StopLevelControl();
    cLedDevice::Suspend();
}

void cSerialLedDevice::Resume() {
    // A PL-2303 adapter forgets its line states while the system sleeps. One that
    // did not reopen at an earlier wake (not yet back on the USB) is tried again.
    if (IsOpened() && IsProlific() && resume_fix_.Get()) {
        Close();
        Open();
    }
    // Level control may have been switched off while the system slept.
    if (timer_was_running_ && LevelControlEnabled()) StartLevelControl();
    // The lines may have moved while the system slept.
    write_all_lines_ = true;
    cLedDevice::Resume();
}
