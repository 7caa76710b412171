// The device enumeration over the real registry and the real serial ports.

#include "devices/device_detection.h"
#include "devices/led_device_list.h"
#include "devices/serial_port_registry.h"
#include "devices/usb_light_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_files.h"
#include "platform/fake/fake_hid_devices.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_serial_ports.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_hid_devices.h"
#include "platform/win32/win32_keyboards.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_ports.h"
#include "settings/persistent_variables.h"
#include "tests/common/keyboard_registration.h"
#include "tests/win/serial_comm_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using platform::RegistryRoot;

constexpr const char* kAcpiInstance = "SYSTEM\\CurrentControlSet\\Enum\\ACPI\\PNP0501\\GlimmerTest";
constexpr const char* kUsbDevice = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_067B&PID_2303";
constexpr const char* kUsbInstance = "SYSTEM\\CurrentControlSet\\Enum\\USB\\VID_067B&PID_2303\\GlimmerTest";

// Registry keys made by a test, removed again after it.
class Win32DeviceEnumerationTest : public testing::Test {
protected:
    void TearDown() override {
        for (const std::string& path : created_) registry.DeleteTree(RegistryRoot::LocalMachine, path);
        registry.DeleteTree(RegistryRoot::CurrentUser, kGlimmerboxKey);
    }
    void ListPort(const std::string& instance, const std::string& port_name, const std::string& device_desc) {
        created_.push_back(instance);
        registry.OpenOrCreate(RegistryRoot::LocalMachine, instance)->WriteString("DeviceDesc", device_desc);
        registry.OpenOrCreate(RegistryRoot::LocalMachine, instance + "\\Device Parameters")
            ->WriteString("PortName", port_name);
    }
    std::string Keyboard(const std::string& tail) {
        created_.push_back(std::string(kKeyboardClassKey) + "\\" + KeyboardKeyName(tail));
        created_.push_back("SYSTEM\\CurrentControlSet\\Enum\\HID\\VID_046D&PID_C31C&MI_00\\" + tail);
        created_.push_back("SYSTEM\\CurrentControlSet\\Control\\Class\\{4d36e96b-e325-11ce-bfc1-08002be10318}\\" + tail);
        const std::string key_name = RegisterKeyboard(registry, tail, "Keyboard " + tail);
        EXPECT_FALSE(key_name.empty());
        return key_name;
    }

    platform::win32::Win32Registry registry;
    std::vector<std::string> created_;
};

}  // namespace

TEST_F(Win32DeviceEnumerationTest, PortsAndKeyboardsAreFoundThroughTheRegistry) {
    ListPort(kAcpiInstance, "COM201", "Communications Port");
    created_.push_back(kUsbDevice);
    ListPort(kUsbInstance, "COM202", "Prolific USB-to-Serial Comm Port");
    const std::string second = Keyboard("glimmer-b");
    const std::string first = Keyboard("glimmer-a");

    platform::fake::FakeClock clock;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers timers{clock};
    platform::fake::FakeMessageBoxes message_boxes;
    platform::fake::FakeKeyboards keyboards;
    ports.AddPort(201);
    ports.AddPort(202);
    keyboards.Add(KeyboardPath(first));
    keyboards.Add(KeyboardPath(second));
    platform::fake::FakeHidDevices hid;
    cLedDeviceList list({ports, timers, registry, clock, message_boxes}, keyboards, hid);
    list.Refresh(nullptr, false);

    // Keyboards come in the order in which the registry lists their keys.
    std::vector<std::string> registry_order;
    for (const std::string& name : registry.OpenReadOnly(RegistryRoot::LocalMachine, kKeyboardClassKey)->SubkeyNames())
        if (name == first || name == second) registry_order.push_back(name);
    std::vector<std::string> expected{"COM201", "COM202"};
    expected.insert(expected.end(), registry_order.begin(), registry_order.end());
    std::vector<std::string> listed;
    for (int i = 0; i < list.Count(); ++i) listed.push_back(list.Item(i)->Id());
    EXPECT_EQ(listed, expected);
    EXPECT_EQ(list.FindById(first)->Description(), "Keyboard glimmer-a");

    const auto* acpi = dynamic_cast<const cSerialLedDevice*>(list.FindById("COM201"));
    ASSERT_NE(acpi, nullptr);
    EXPECT_EQ(acpi->PortType(), PT_STANDARD_COM);
    EXPECT_EQ(acpi->DeviceDesc(), "Communications Port");
    const auto* usb = dynamic_cast<const cSerialLedDevice*>(list.FindById("COM202"));
    ASSERT_NE(usb, nullptr);
    EXPECT_EQ(usb->PortType(), PT_USB_COM);
    EXPECT_EQ(usb->DeviceDesc(), "Prolific USB-to-Serial Comm Port");
    EXPECT_EQ(usb->ManufacturerDeviceId(), "VID_067B&PID_2303");
}

TEST_F(Win32DeviceEnumerationTest, MistypedPortNameReadsAsMissing) {
    created_.push_back(kAcpiInstance);
    registry.OpenOrCreate(RegistryRoot::LocalMachine, std::string(kAcpiInstance) + "\\Device Parameters")
        ->WriteDword("PortName", 201);
    EXPECT_FALSE(FindSerialPortEntry(registry, "COM201").has_value());
}

// On a machine without ports the device map is empty and the scan lists no serial device.
// (Wine maps the host's serial device nodes, such as /dev/ttyS0, to COM ports of its own:
// those are real ports of the machine and may be listed.) The HID interfaces are
// enumerated through SetupAPI and hid.dll, and this machine has no light among them.
TEST_F(Win32DeviceEnumerationTest, FullScanListsNoSerialDeviceThatWindowsDoesNotKnow) {
    platform::win32::Win32SerialPorts ports;
    platform::win32::Win32MultimediaTimers timers;
    platform::win32::Win32Clock clock;
    platform::win32::Win32Keyboards keyboards;
    platform::win32::Win32HidDevices hid;
    platform::fake::FakeMessageBoxes message_boxes;
    cLedDeviceList list({ports, timers, registry, clock, message_boxes}, keyboards, hid);
    const std::set<std::string> mapped = MappedPorts();

    list.Refresh(nullptr, false);
    int serial = 0;
    for (int i = 0; i < list.Count(); ++i) {
        if (!dynamic_cast<const cSerialLedDevice*>(list.Item(i))) continue;
        ++serial;
        EXPECT_TRUE(mapped.count(list.Item(i)->Id())) << list.Item(i)->Id() << " is not a port of this machine";
    }
    EXPECT_LE(serial, static_cast<int>(mapped.size()));
    for (int i = 0; i < list.Count(); ++i)
        EXPECT_EQ(dynamic_cast<const cUsbLightLedDevice*>(list.Item(i)), nullptr) << list.Item(i)->Id();
    for (const std::string& path : hid.InterfacePaths()) {
        const auto identity = hid.Identify(path);
        EXPECT_TRUE(!identity || !FindUsbLightModel(*identity, hid.SerialNumber(path))) << path;
    }
    EXPECT_TRUE(message_boxes.shown.empty());
}
