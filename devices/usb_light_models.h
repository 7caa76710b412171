#pragma once
// The USB status lights the program knows, one row each: how to recognise
// one among the HID interfaces, how many full-colour LEDs it has, and how a
// colour reaches one of them (which report, written how). Another light is
// another row and, where its protocol is new, another fill function.

#include "devices/led_device.h"
#include "platform/hid_devices.h"

#include <cstdint>
#include <span>
#include <string>

struct rgb_colour {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
    bool operator==(const rgb_colour&) const = default;
};

enum class hid_report_kind { Feature, Output };

struct usb_light_model {
    uint16_t vendor_id;
    uint16_t product_id;
    char serial_prefix;  // the serial number's first character tells the models apart; 0 for any
    const char* name;    // as the device list shows it, followed by " (USB)"
    int led_count;
    uint8_t led_codes[kMaxLeds];  // how a report names each LED
    hid_report_kind report_kind;
    uint16_t report_length;  // the bytes fill writes, the report ID included
    // Writes into a zeroed report, as long as the interface declares it, the command that sets one LED.
    void (*fill)(std::span<uint8_t> report, uint8_t led_code, rgb_colour colour);
};

// Whether some model has these IDs: only then does the serial number matter.
bool HasUsbLightIds(uint16_t vendor_id, uint16_t product_id);
// The first model that the interface is, when it also declares a report long
// enough for the model's command (the collection that takes it); null otherwise.
const usb_light_model* FindUsbLightModel(const platform::HidIdentity& identity, const std::string& serial_number);

// The hardware ID of a USB light: 0x3000 plus vendor and product ID folded into 12 bits.
int16_t UsbLightHardwareId(uint16_t vendor_id, uint16_t product_id);
bool IsUsbLightHardwareId(uint16_t hardware_id);

// The length of the interface's report of the model's kind (0: it has none).
uint16_t ReportLengthFor(const usb_light_model& model, const platform::HidIdentity& identity);
