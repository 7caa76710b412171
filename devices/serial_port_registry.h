#pragma once
// Where Windows lists a serial port: the Plug and Play instance whose
// "Device Parameters" hold its "PortName", found among the ACPI serial ports
// first, then among USB and Bluetooth adapters.

#include "platform/registry.h"

#include <cstdint>
#include <optional>
#include <string>

// How Windows enumerated the port; level control is offered on the first two only.
enum port_type : uint8_t { PT_UNKNOWN = 0, PT_STANDARD_COM = 1, PT_USB_COM = 2, PT_BLUETOOTH_COM = 3 };

struct serial_port_entry {
    uint8_t port_type = 0;                 // PT_STANDARD_COM, PT_USB_COM or PT_BLUETOOTH_COM
    std::optional<std::string> device_desc;  // the instance's "DeviceDesc", when it has one
    std::string manufacturer_device_id;    // the USB or Bluetooth device key ("VID_067B&PID_2303")
};

// The first instance whose "PortName" is exactly port_name ("COM3"), or nothing.
std::optional<serial_port_entry> FindSerialPortEntry(platform::Registry& registry, const std::string& port_name);
