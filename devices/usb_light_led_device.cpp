#include "devices/usb_light_led_device.h"

#include "devices/calibration_store.h"
#include "settings/led_vocabulary.h"

#include <algorithm>
#include <cstdio>

namespace {

// A channel's on-time is its brightness, 0 to 255.
constexpr int32_t kFullBrightness = 255;

constexpr uint16_t kRed = 0x1, kGreen = 0x2, kBlue = 0x4;

// Off, white for "On" and the blinks and the pulse, and the seven colours; the
// LED's three channels start at output bit first_bit.
void ListLightStates(led_descriptor& led, int first_bit) {
    const auto lines = [&](uint16_t channels) { return static_cast<uint16_t>(channels << first_bit); };
    const uint16_t white = kRed | kGreen | kBlue;
    led.line_mask = lines(white);
    led.per_state_levels = true;
    led.AddState(led_state::Off, 0);
    for (int8_t state : {led_state::On, led_state::BlinkSlow, led_state::Blink, led_state::BlinkFast, led_state::Pulse})
        led.AddState(state, lines(white));
    led.AddState(led_state::Red, lines(kRed));
    led.AddState(led_state::Green, lines(kGreen));
    led.AddState(led_state::Blue, lines(kBlue));
    led.AddState(led_state::Cyan, lines(kGreen | kBlue));
    led.AddState(led_state::Magenta, lines(kRed | kBlue));
    led.AddState(led_state::Yellow, lines(kRed | kGreen));
    led.AddState(led_state::White, lines(white));
}

// "VID_27B8&PID_01ED", as Windows names the USB device.
std::string UsbDeviceId(uint16_t vendor_id, uint16_t product_id) {
    char text[20];
    std::snprintf(text, sizeof text, "VID_%04X&PID_%04X", vendor_id, product_id);
    return text;
}

}  // namespace

cUsbLightLedDevice::cUsbLightLedDevice(const usb_light_services& services, const std::string& path,
                                       cDetectionLog* log)
    : cLedDevice(0), hid_(services.hid), registry_(services.registry), clock_(services.clock), interface_path_(path) {
    SetId(path);
    SetPath(path);
    present_ = false;
    level_period_ = kFullBrightness;
    if (log) WriteDeviceHeader(*log, Id());

    const std::optional<platform::HidIdentity> identity = hid_.Identify(path);
    if (!identity) {
        if (log) *log << "Failed to open\n";
        return;
    }
    const bool may_be_light = HasUsbLightIds(identity->vendor_id, identity->product_id);
    const std::string serial_number = may_be_light ? hid_.SerialNumber(path) : std::string();
    model_ = FindUsbLightModel(*identity, serial_number);
    if (!model_) {
        if (log) WriteLogLines(*log, *identity, serial_number);
        return;
    }

    present_ = true;
    classification_ = classification::UsbLight;
    level_control_supported_ = true;
    hardware_id_ = UsbLightHardwareId(identity->vendor_id, identity->product_id);
    SetDescription(std::string(model_->name) + " (USB)");
    SetManufacturerDeviceId(UsbDeviceId(identity->vendor_id, identity->product_id));
    report_.assign(ReportLengthFor(*model_, *identity), 0);
    SetUpLeds();
    ResetLevels();
    if (log) WriteLogLines(*log, *identity, serial_number);
}

void cUsbLightLedDevice::SetUpLeds() {
    led_count_ = model_->led_count;
    for (int i = 0; i < led_count_; ++i) ListLightStates(leds_[i], i * kColourChannels);
}

void cUsbLightLedDevice::WriteLogLines(cDetectionLog& log, const platform::HidIdentity& identity,
                                       const std::string& serial_number) const {
    log << "VendorID     : " << Hex(identity.vendor_id, 4) << "\n"
        << "ProductID    : " << Hex(identity.product_id, 4) << "\n"
        << "SerialNumber : " << serial_number << "\n";
    if (!model_) {
        log << "not a known light\n";
        return;
    }
    log << "Description  : " << Description() << "\n"
        << "HardwareID   : " << Hex(static_cast<uint16_t>(HardwareId())) << "\n";
}

bool cUsbLightLedDevice::Open() {
    if (!model_ || connection_) return false;
    connection_ = hid_.Open(interface_path_);
    ForgetWrittenColours();
    return connection_ != nullptr;
}

void cUsbLightLedDevice::Close() { connection_.reset(); }

void cUsbLightLedDevice::Resume() {
    // The light may have lost its colours while the system slept.
    ForgetWrittenColours();
    cLedDevice::Resume();
}

void cUsbLightLedDevice::SaveCalibration() { ::SaveCalibration(registry_, *this, LevelControlEnabled()); }

void cUsbLightLedDevice::LoadCalibration() {
    if (const std::optional<bool> enabled = ::LoadCalibration(registry_, *this)) level_control_enabled_ = *enabled;
}

void cUsbLightLedDevice::WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) {
    if (IsSuspended()) return;
    RecordOutputs(lit, driven);
    // After a failed write the light is gone until it is opened again.
    if (!connection_ || HasFailed()) return;
    const uint32_t now = clock_.TickCount();
    const bool repair = now - repaired_at_ >= kRepairIntervalMs;
    if (repair) {
        repaired_at_ = now;
        ForgetWrittenColours();
    }
    const uint32_t on = OutputsOn(lit, driven, blank);
    for (int i = 0; i < LedCount(); ++i) {
        const rgb_colour colour = ColourOf(i, on);
        if (written_[i] == colour) continue;
        if (!WriteColour(i, colour)) {
            ReportFailure();
            return;
        }
        written_[i] = colour;
    }
}

// Without level control a lit channel shines fully; with it, at its calibrated level.
rgb_colour cUsbLightLedDevice::ColourOf(int led, uint32_t on) const {
    uint8_t channels[kColourChannels];
    for (int channel = 0; channel < kColourChannels; ++channel) {
        const int bit = leds_[led].ChannelBit(channel);
        int32_t level = 0;
        if (bit >= 0 && (on & (1u << bit)))
            level = LevelControlEnabled() ? std::clamp(OnTime(bit), 0, kFullBrightness) : kFullBrightness;
        channels[channel] = static_cast<uint8_t>(level);
    }
    return {channels[0], channels[1], channels[2]};
}

bool cUsbLightLedDevice::WriteColour(int led, rgb_colour colour) {
    std::fill(report_.begin(), report_.end(), 0);
    model_->fill(report_, model_->led_codes[led], colour);
    return model_->report_kind == hid_report_kind::Feature ? connection_->SetFeature(report_)
                                                           : connection_->WriteOutput(report_);
}

void cUsbLightLedDevice::ForgetWrittenColours() {
    for (std::optional<rgb_colour>& colour : written_) colour.reset();
}
