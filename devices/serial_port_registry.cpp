#include "devices/serial_port_registry.h"

#include <vector>

using platform::Registry;
using platform::RegistryKey;
using platform::RegistryRoot;

namespace {

constexpr const char* kEnumKey = "SYSTEM\\CurrentControlSet\\Enum\\";

// Instance keys that describe a port in their "Device Parameters" subkey.
std::optional<serial_port_entry> MatchInstance(Registry& registry, const std::string& instance_path,
                                               const std::string& port_name) {
    auto parameters = registry.OpenReadOnly(RegistryRoot::LocalMachine, instance_path + "\\Device Parameters");
    if (!parameters || parameters->ReadString("PortName") != port_name) return std::nullopt;
    serial_port_entry entry;
    if (auto instance = registry.OpenReadOnly(RegistryRoot::LocalMachine, instance_path))
        entry.device_desc = instance->ReadString("DeviceDesc");
    return entry;
}

std::vector<std::string> SubkeysOf(Registry& registry, const std::string& path) {
    auto key = registry.OpenReadOnly(RegistryRoot::LocalMachine, path);
    return key ? key->SubkeyNames() : std::vector<std::string>{};
}

// ACPI enumerates the motherboard's ports as instances of one device ID.
std::optional<serial_port_entry> FindAcpiPort(Registry& registry, const std::string& device_path,
                                              const std::string& port_name) {
    for (const std::string& instance : SubkeysOf(registry, device_path)) {
        if (auto entry = MatchInstance(registry, device_path + "\\" + instance, port_name)) {
            entry->port_type = PT_STANDARD_COM;
            return entry;
        }
    }
    return std::nullopt;
}

// Adapters sit one level deeper: bus \ device (vendor and product) \ instance.
std::optional<serial_port_entry> FindAdapterPort(Registry& registry, const std::string& bus_path,
                                                 uint8_t port_type, const std::string& port_name) {
    for (const std::string& device : SubkeysOf(registry, bus_path)) {
        const std::string device_path = bus_path + "\\" + device;
        for (const std::string& instance : SubkeysOf(registry, device_path)) {
            if (auto entry = MatchInstance(registry, device_path + "\\" + instance, port_name)) {
                entry->port_type = port_type;
                entry->manufacturer_device_id = device;
                return entry;
            }
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<serial_port_entry> FindSerialPortEntry(Registry& registry, const std::string& port_name) {
    const std::string root = kEnumKey;
    for (const char* acpi_device : {"ACPI\\PNP0501", "ACPI\\PNP0500"})
        if (auto entry = FindAcpiPort(registry, root + acpi_device, port_name)) return entry;
    if (auto entry = FindAdapterPort(registry, root + "USB", PT_USB_COM, port_name)) return entry;
    return FindAdapterPort(registry, root + "BTHENUM", PT_BLUETOOTH_COM, port_name);
}
