#include "devices/usb_light_models.h"

#include <algorithm>

namespace {

constexpr uint16_t kUsbLightKind = 0x3000;

// blink(1): feature report 1, "set colour now" {1, 'n', r, g, b, 0, 0, LED}; LED 0 is every LED.
void FillBlink1(std::span<uint8_t> report, uint8_t led_code, rgb_colour colour) {
    const uint8_t command[] = {1, 'n', colour.red, colour.green, colour.blue, 0, 0, led_code};
    std::copy(std::begin(command), std::end(command), report.begin());
}

// BlinkStick: feature report 1 {1, r, g, b} sets the first LED; the firmware
// reorders for LEDs that take green first.
void FillBlinkStick(std::span<uint8_t> report, uint8_t, rgb_colour colour) {
    const uint8_t command[] = {1, colour.red, colour.green, colour.blue};
    std::copy(std::begin(command), std::end(command), report.begin());
}

// Luxafor: output report without ID, command 1 "static colour" {1, LED, r, g, b, 0, 0, 0};
// LED 0xFF is all six, 0x41 the three in front (the flag), 0x42 the three at the back.
void FillLuxafor(std::span<uint8_t> report, uint8_t led_code, rgb_colour colour) {
    const uint8_t command[] = {0, 1, led_code, colour.red, colour.green, colour.blue, 0, 0, 0};
    std::copy(std::begin(command), std::end(command), report.begin());
}

constexpr uint16_t kThingM = 0x27B8, kBlink1 = 0x01ED;
constexpr uint16_t kAgileInnovative = 0x20A0, kBlinkStick = 0x41E5;
constexpr uint16_t kMicrochip = 0x04D8, kLuxafor = 0xF372;

// blink(1) serial numbers begin with the generation; one that does not is driven as a whole.
constexpr usb_light_model kModels[] = {
    {kThingM, kBlink1, '1', "blink(1) mk1", 1, {0}, hid_report_kind::Feature, 8, FillBlink1},
    {kThingM, kBlink1, '2', "blink(1) mk2", 2, {1, 2}, hid_report_kind::Feature, 8, FillBlink1},
    {kThingM, kBlink1, '3', "blink(1) mk3", 2, {1, 2}, hid_report_kind::Feature, 8, FillBlink1},
    {kThingM, kBlink1, 0, "blink(1)", 1, {0}, hid_report_kind::Feature, 8, FillBlink1},
    {kAgileInnovative, kBlinkStick, 0, "BlinkStick", 1, {0}, hid_report_kind::Feature, 4, FillBlinkStick},
    {kMicrochip, kLuxafor, 0, "Luxafor Flag", 2, {0x41, 0x42}, hid_report_kind::Output, 9, FillLuxafor},
};

}  // namespace

uint16_t ReportLengthFor(const usb_light_model& model, const platform::HidIdentity& identity) {
    return model.report_kind == hid_report_kind::Feature ? identity.feature_report_length
                                                         : identity.output_report_length;
}

bool HasUsbLightIds(uint16_t vendor_id, uint16_t product_id) {
    return std::any_of(std::begin(kModels), std::end(kModels), [&](const usb_light_model& model) {
        return model.vendor_id == vendor_id && model.product_id == product_id;
    });
}

const usb_light_model* FindUsbLightModel(const platform::HidIdentity& identity, const std::string& serial_number) {
    for (const usb_light_model& model : kModels) {
        if (model.vendor_id != identity.vendor_id || model.product_id != identity.product_id) continue;
        if (model.serial_prefix && serial_number.rfind(model.serial_prefix, 0) != 0) continue;
        // A light with several collections lists one interface each; only one takes the command.
        return ReportLengthFor(model, identity) >= model.report_length ? &model : nullptr;
    }
    return nullptr;
}

int16_t UsbLightHardwareId(uint16_t vendor_id, uint16_t product_id) {
    return static_cast<int16_t>(kUsbLightKind | ((vendor_id ^ product_id) & 0x0FFF));
}

bool IsUsbLightHardwareId(uint16_t hardware_id) { return (hardware_id & 0xF000) == kUsbLightKind; }
