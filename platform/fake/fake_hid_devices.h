#pragma once
// A USB bus of HID interfaces in memory. Tests plug interfaces in by device
// path, unplug and replug them; every report written reaches the interface's
// record. A connection opened before an unplug stays dead after a replug, as
// a Windows handle does.

#include "platform/hid_devices.h"

#include <map>
#include <string>
#include <vector>

namespace platform::fake {

class FakeHidDevices final : public HidDevices {
public:
    enum class ReportKind { Feature, Output };
    struct Report {
        ReportKind kind;
        std::vector<uint8_t> bytes;
        bool operator==(const Report&) const = default;
    };
    struct Interface {
        HidIdentity identity;
        std::string serial_number;
        bool plugged = true;
        int plug_count = 1;            // how often it was plugged in; a connection lives for one of them
        std::vector<Report> reports;   // every report written, in order
        int open_connections = 0;      // opened for writing and not yet closed
    };

    std::vector<std::string> InterfacePaths() override;
    std::optional<HidIdentity> Identify(const std::string& path) override;
    std::unique_ptr<HidConnection> Open(const std::string& path) override;
    std::string SerialNumber(const std::string& path) override;

    // Plugs an interface in at the end of the list, or plugs an unplugged one in again.
    Interface& Plug(const std::string& path, const HidIdentity& identity, const std::string& serial_number = "");
    void Unplug(const std::string& path) { At(path).plugged = false; }
    Interface& At(const std::string& path) { return interfaces_.at(path); }

private:
    Interface* Plugged(const std::string& path);

    std::map<std::string, Interface> interfaces_;
    std::vector<std::string> order_;  // the paths in the order they were first plugged in
};

}  // namespace platform::fake
