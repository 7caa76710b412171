#pragma once
// Keyboards registered as Windows registers them: a key under the keyboard
// interface class key, leading through the device instance to the driver key
// that holds the description. Used over the fake and the real registry.

#include "devices/keyboard_driver_led_device.h"
#include "platform/registry.h"

#include <string>

// A key name as Windows writes it, "##?#" standing for the device path's "\\?\".
inline std::string KeyboardKeyName(const std::string& instance_tail) {
    return "##?#HID#VID_046D&PID_C31C&MI_00#" + instance_tail + "#{884b96c3-56ef-11d1-bc8c-00a0c91405dd}";
}

// The path that a keyboard of this key name opens.
inline std::string KeyboardPath(const std::string& key_name) { return "\\\\.\\" + key_name.substr(4); }

// Registers a keyboard interface whose driver key describes it as description; returns its
// key name, or an empty text when a key could not be written.
inline std::string RegisterKeyboard(platform::Registry& registry, const std::string& instance_tail,
                                    const std::string& description) {
    const std::string key_name = KeyboardKeyName(instance_tail);
    const std::string instance = "HID\\VID_046D&PID_C31C&MI_00\\" + instance_tail;
    const std::string driver = "{4d36e96b-e325-11ce-bfc1-08002be10318}\\" + instance_tail;
    auto write = [&](const std::string& path, const char* name, const std::string& value) {
        auto key = registry.OpenOrCreate(platform::RegistryRoot::LocalMachine, path);
        return key && key->WriteString(name, value);
    };
    const bool written =
        write(std::string(kKeyboardClassKey) + "\\" + key_name, "DeviceInstance", instance) &&
        write("\\SYSTEM\\CurrentControlSet\\Enum\\" + instance, "Driver", driver) &&
        write("\\SYSTEM\\CurrentControlSet\\Control\\Class\\" + driver, "DriverDesc", description);
    return written ? key_name : std::string();
}
