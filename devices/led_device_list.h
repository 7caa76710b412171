#pragma once
// Every LED device of the machine, found by enumeration and owned here: the
// serial ports COM1 to COM256 that exist, by ascending number, then the
// known USB lights among the HID interfaces, in the system's order, then the
// keyboards registered with the keyboard class, in the registry's order.

#include "devices/detection_log.h"
#include "devices/led_device.h"
#include "devices/serial_led_device.h"
#include "platform/hid_devices.h"
#include "platform/keyboards.h"

#include <memory>
#include <string_view>
#include <vector>

class cLedDeviceList {
public:
    // An empty list; Refresh fills it.
    cLedDeviceList(const serial_led_services& serial, platform::Keyboards& keyboards, platform::HidDevices& hid)
        : serial_(serial), keyboards_(keyboards), hid_(hid) {}

    // Deletes the old devices and enumerates anew, writing the serial, USB light and
    // keyboard sections of the detection log when a log is given. With add_keystroke_device a
    // keystroke-simulation keyboard goes between the lights and the keyboards.
    void Refresh(cDetectionLog* log, bool add_keystroke_device);

    int Count() const { return static_cast<int>(devices_.size()); }
    // The device at index 0 to Count() - 1, null for any other index; valid until the next Refresh.
    cLedDevice* Item(int index) const { return index >= 0 && index < Count() ? devices_[index].get() : nullptr; }
    // The first device whose ID equals id exactly (case included), or null.
    cLedDevice* FindById(std::string_view id) const;

private:
    void AppendWhenPresent(std::unique_ptr<cLedDevice> device);

    serial_led_services serial_;
    platform::Keyboards& keyboards_;
    platform::HidDevices& hid_;
    std::vector<std::unique_ptr<cLedDevice>> devices_;
};
