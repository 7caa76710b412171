#pragma once
// A machine with fake serial ports, timers, registry and clock, on which
// serial LED devices are built.

#include "devices/serial_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_serial_ports.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class SerialDeviceFixture : public testing::Test {
protected:
    using Wiring = platform::fake::PortWiring;
    using LineWrite = platform::fake::FakeSerialPorts::LineWrite;

    std::unique_ptr<cSerialLedDevice> Build(int port, cDetectionLog* log = nullptr) {
        return std::make_unique<cSerialLedDevice>(services, port, log);
    }

    // A motherboard port as ACPI lists it.
    void ListAcpiPort(const std::string& instance, const std::string& port_name, const std::string& device_desc) {
        const std::string path = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\" + instance;
        registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, path)->WriteString("DeviceDesc", device_desc);
        registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, path + "\\Device Parameters")
            ->WriteString("PortName", port_name);
    }
    // A USB adapter's port, under its vendor and product key.
    void ListUsbPort(const std::string& device, const std::string& port_name) {
        registry.OpenOrCreate(platform::RegistryRoot::LocalMachine,
                              "SYSTEM\\CurrentControlSet\\Enum\\USB\\" + device + "\\5&1\\Device Parameters")
            ->WriteString("PortName", port_name);
    }

    // The line writes since the given time.
    std::vector<LineWrite> WritesSince(int port, uint32_t time) {
        std::vector<LineWrite> writes;
        for (const LineWrite& write : ports.port(port).writes)
            if (write.time >= time) writes.push_back(write);
        return writes;
    }

    platform::fake::FakeClock clock{1000};
    platform::fake::FakeRegistry registry;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers timers{clock};
    platform::fake::FakeMessageBoxes message_boxes;
    serial_led_services services{ports, timers, registry, clock, message_boxes};
};
