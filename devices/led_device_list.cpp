#include "devices/led_device_list.h"

#include "devices/keyboard_driver_led_device.h"
#include "devices/keyboard_led_device.h"
#include "devices/usb_light_led_device.h"

namespace {
constexpr const char* kSerialSection =
    "=== Serial ports ==============================================================";
constexpr const char* kUsbLightSection =
    "=== USB lights ================================================================";
constexpr const char* kKeyboardSection =
    "=== Keyboards =================================================================";

void WriteSection(cDetectionLog* log, const char* title) {
    if (log) *log << "\n" << title << "\n";
}
}  // namespace

void cLedDeviceList::Refresh(cDetectionLog* log, bool add_keystroke_device) {
    devices_.clear();

    WriteSection(log, kSerialSection);
    for (int port = cSerialLedDevice::kFirstPort; port <= cSerialLedDevice::kLastPort; ++port)
        AppendWhenPresent(std::make_unique<cSerialLedDevice>(serial_, port, log));

    WriteSection(log, kUsbLightSection);
    const usb_light_services usb{hid_, serial_.registry, serial_.clock};
    for (const std::string& path : hid_.InterfacePaths())
        AppendWhenPresent(std::make_unique<cUsbLightLedDevice>(usb, path, log));

    if (add_keystroke_device) devices_.push_back(std::make_unique<cKeyboardLedDevice>());

    WriteSection(log, kKeyboardSection);
    auto class_key = serial_.registry.OpenReadOnly(platform::RegistryRoot::LocalMachine, kKeyboardClassKey);
    if (!class_key) return;
    const std::vector<std::string> key_names = class_key->SubkeyNames();
    class_key.reset();
    for (const std::string& key_name : key_names)
        AppendWhenPresent(std::make_unique<cKeyboardDriverLedDevice>(key_name, log, serial_.registry, keyboards_,
                                                                     serial_.clock));
}

cLedDevice* cLedDeviceList::FindById(std::string_view id) const {
    for (const auto& device : devices_)
        if (device->Id() == id) return device.get();
    return nullptr;
}

void cLedDeviceList::AppendWhenPresent(std::unique_ptr<cLedDevice> device) {
    if (device->IsPresent()) devices_.push_back(std::move(device));
}
