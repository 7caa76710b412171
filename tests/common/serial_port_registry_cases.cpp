// Finding a serial port's Plug and Play instance among the machine's enumeration keys.
#include "devices/serial_port_registry.h"
#include "tests/common/registry_fixture.h"

#include <vector>

using platform::RegistryRoot;

namespace {
constexpr const char* kEnum = "SYSTEM\\CurrentControlSet\\Enum\\";
}  // namespace

class SerialPortEntries : public RegistryFixture {
protected:
    void TearDown() override {
        for (const std::string& key : created_) registry().DeleteTree(RegistryRoot::LocalMachine, key);
        RegistryFixture::TearDown();
    }

    // An instance key under Enum (device path "ACPI\PNP0501", "USB\VID_1A86&PID_7523"), removed afterwards.
    std::unique_ptr<platform::RegistryKey> Instance(const std::string& device, const std::string& instance,
                                                    const std::string& port_name) {
        const std::string path = kEnum + device + "\\" + instance;
        created_.push_back(device.starts_with("ACPI") ? path : kEnum + device);
        registry().OpenOrCreate(RegistryRoot::LocalMachine, path + "\\Device Parameters")->WriteString("PortName", port_name);
        return registry().OpenOrCreate(RegistryRoot::LocalMachine, path);
    }

private:
    std::vector<std::string> created_;
};

TEST_F(SerialPortEntries, AcpiPortsAreStandardPorts) {
    Instance("ACPI\\PNP0501", "GlimmerTest1", "COM231")->WriteString("DeviceDesc", "Communications Port");
    Instance("ACPI\\PNP0500", "GlimmerTest2", "COM232");

    auto first = FindSerialPortEntry(registry(), "COM231");
    ASSERT_TRUE(first);
    EXPECT_EQ(first->port_type, PT_STANDARD_COM);
    EXPECT_EQ(first->device_desc, "Communications Port");
    EXPECT_EQ(first->manufacturer_device_id, "");

    auto second = FindSerialPortEntry(registry(), "COM232");
    ASSERT_TRUE(second);
    EXPECT_EQ(second->port_type, PT_STANDARD_COM);
    EXPECT_EQ(second->device_desc, std::nullopt);
}

TEST_F(SerialPortEntries, AdaptersNameTheirDeviceKey) {
    Instance("USB\\VID_1A86&PID_7523", "GlimmerTest3", "COM233")->WriteString("DeviceDesc", "USB-SERIAL CH340");
    Instance("BTHENUM\\GlimmerTestBluetoothPort", "GlimmerTest4", "COM234");

    auto usb = FindSerialPortEntry(registry(), "COM233");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->port_type, PT_USB_COM);
    EXPECT_EQ(usb->manufacturer_device_id, "VID_1A86&PID_7523");
    EXPECT_EQ(usb->device_desc, "USB-SERIAL CH340");

    auto bluetooth = FindSerialPortEntry(registry(), "COM234");
    ASSERT_TRUE(bluetooth);
    EXPECT_EQ(bluetooth->port_type, PT_BLUETOOTH_COM);
    EXPECT_EQ(bluetooth->manufacturer_device_id, "GlimmerTestBluetoothPort");
}

TEST_F(SerialPortEntries, StandardPortsComeFirst) {
    Instance("USB\\VID_1A86&PID_7523", "GlimmerTest5", "COM235");
    Instance("ACPI\\PNP0501", "GlimmerTest6", "COM235");
    auto entry = FindSerialPortEntry(registry(), "COM235");
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->port_type, PT_STANDARD_COM);
}

TEST_F(SerialPortEntries, PortNameMustMatchExactlyAndAsText) {
    Instance("ACPI\\PNP0501", "GlimmerTest7", "com236");
    Instance("ACPI\\PNP0501", "GlimmerTest8", "COM2370");
    const std::string numbered = std::string(kEnum) + "ACPI\\PNP0501\\GlimmerTest9";
    Instance("ACPI\\PNP0501", "GlimmerTest9", "");
    registry().OpenOrCreate(RegistryRoot::LocalMachine, numbered + "\\Device Parameters")->WriteDword("PortName", 238);

    EXPECT_FALSE(FindSerialPortEntry(registry(), "COM236"));
    EXPECT_FALSE(FindSerialPortEntry(registry(), "COM237"));
    EXPECT_FALSE(FindSerialPortEntry(registry(), "COM238"));
    EXPECT_FALSE(FindSerialPortEntry(registry(), "COM239"));
}
