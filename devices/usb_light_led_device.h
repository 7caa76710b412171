#pragma once
// A USB status light (a known model among the HID interfaces, see
// usb_light_models.h) as a device of full-colour LEDs. Each LED takes three
// output bits, red, green and blue, so frames, blinking, pulsing, holding and
// calibration work as for a full-colour serial module. A colour is written
// only when it changes (every write is a USB round trip), and once every few
// seconds all the same, which repairs a light that lost it. A failed write
// (the light was unplugged) marks the device failed.

#include "devices/detection_log.h"
#include "devices/led_device.h"
#include "devices/usb_light_models.h"
#include "platform/clock.h"
#include "platform/hid_devices.h"
#include "platform/registry.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// The platform services a USB light needs, all owned elsewhere.
struct usb_light_services {
    platform::HidDevices& hid;
    platform::Registry& registry;
    const platform::Clock& clock;
};

class cUsbLightLedDevice final : public cLedDevice {
public:
    // Asks the HID interface at this device path who it is, without writing to it, and
    // logs the answer. An interface that is no known light is not present.
    cUsbLightLedDevice(const usb_light_services& services, const std::string& path, cDetectionLog* log);
    ~cUsbLightLedDevice() override { Deactivate(); }

    bool Open() override;
    void Close() override;
    void Resume() override;
    void SaveCalibration() override;
    void LoadCalibration() override;
    void WriteOutputs(uint32_t lit, uint32_t driven, uint32_t blank) override;

    static constexpr uint32_t kRepairIntervalMs = 5000;

private:
    void SetUpLeds();
    void WriteLogLines(cDetectionLog& log, const platform::HidIdentity& identity,
                       const std::string& serial_number) const;
    rgb_colour ColourOf(int led, uint32_t on) const;
    bool WriteColour(int led, rgb_colour colour);
    void ForgetWrittenColours();

    platform::HidDevices& hid_;
    platform::Registry& registry_;
    const platform::Clock& clock_;
    std::string interface_path_;  // whole, where the device's texts may be cut
    const usb_light_model* model_ = nullptr;
    std::vector<uint8_t> report_;                      // as long as the interface's report
    std::unique_ptr<platform::HidConnection> connection_;  // null while closed
    std::optional<rgb_colour> written_[kMaxLeds];      // nothing: the next frame writes that LED
    uint32_t repaired_at_ = 0;                         // tick count of the latest write of every LED
};
