#pragma once
// USB human interface devices (HID): the interfaces Windows lists in the HID
// device-interface class, what each says about itself, and the reports a
// status light takes.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform {

// What a HID interface says about itself without being written to.
struct HidIdentity {
    uint16_t vendor_id = 0;   // HIDD_ATTRIBUTES
    uint16_t product_id = 0;
    uint16_t version_number = 0;
    // HIDP_CAPS, report ID byte included; 0 where the interface has no such report.
    uint16_t output_report_length = 0;
    uint16_t feature_report_length = 0;
};

// One HID interface opened for writing. Its handle is closed when destroyed.
class HidConnection {
public:
    virtual ~HidConnection() = default;

    // HidD_SetFeature with the whole report, its ID in the first byte; false when it failed.
    virtual bool SetFeature(std::span<const uint8_t> report) = 0;
    // WriteFile of one output report, its ID in the first byte; false unless all of it was written.
    virtual bool WriteOutput(std::span<const uint8_t> report) = 0;
};

class HidDevices {
public:
    virtual ~HidDevices() = default;

    // The device paths of the HID interfaces present now, in the system's order.
    virtual std::vector<std::string> InterfacePaths() = 0;
    // Opens the interface without access rights and asks who it is; nothing when it
    // cannot be opened or does not answer. Changes nothing on the device.
    virtual std::optional<HidIdentity> Identify(const std::string& path) = 0;
    // HidD_GetSerialNumberString, in printable ASCII; empty when there is none. Asked
    // apart, as some devices (asleep on Bluetooth) take long to answer it.
    virtual std::string SerialNumber(const std::string& path) = 0;
    // Opens the interface for writing reports; null when it cannot be opened.
    virtual std::unique_ptr<HidConnection> Open(const std::string& path) = 0;
};

}  // namespace platform
