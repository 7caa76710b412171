#include "platform/fake/fake_hid_devices.h"

namespace platform::fake {
namespace {

class FakeConnection final : public HidConnection {
public:
    explicit FakeConnection(FakeHidDevices::Interface& device) : device_(device), plug_count_(device.plug_count) {
        ++device_.open_connections;
    }
    ~FakeConnection() override { --device_.open_connections; }
    FakeConnection(const FakeConnection&) = delete;
    FakeConnection& operator=(const FakeConnection&) = delete;

    bool SetFeature(std::span<const uint8_t> report) override {
        return Write(FakeHidDevices::ReportKind::Feature, report, device_.identity.feature_report_length);
    }
    bool WriteOutput(std::span<const uint8_t> report) override {
        return Write(FakeHidDevices::ReportKind::Output, report, device_.identity.output_report_length);
    }

private:
    // The driver takes only a report of the length the interface declares.
    bool Write(FakeHidDevices::ReportKind kind, std::span<const uint8_t> report, uint16_t length) {
        if (!device_.plugged || device_.plug_count != plug_count_) return false;
        if (length == 0 || report.size() != length) return false;
        device_.reports.push_back({kind, {report.begin(), report.end()}});
        return true;
    }

    FakeHidDevices::Interface& device_;
    int plug_count_;
};

}  // namespace

std::vector<std::string> FakeHidDevices::InterfacePaths() {
    std::vector<std::string> paths;
    for (const std::string& path : order_)
        if (interfaces_.at(path).plugged) paths.push_back(path);
    return paths;
}

std::optional<HidIdentity> FakeHidDevices::Identify(const std::string& path) {
    if (Interface* device = Plugged(path)) return device->identity;
    return std::nullopt;
}

std::unique_ptr<HidConnection> FakeHidDevices::Open(const std::string& path) {
    if (Interface* device = Plugged(path)) return std::make_unique<FakeConnection>(*device);
    return nullptr;
}

std::string FakeHidDevices::SerialNumber(const std::string& path) {
    const Interface* device = Plugged(path);
    return device ? device->serial_number : std::string();
}

FakeHidDevices::Interface& FakeHidDevices::Plug(const std::string& path, const HidIdentity& identity,
                                                const std::string& serial_number) {
    auto [it, added] = interfaces_.try_emplace(path);
    if (added) {
        order_.push_back(path);
    } else if (!it->second.plugged) {
        ++it->second.plug_count;
    }
    it->second.identity = identity;
    it->second.serial_number = serial_number;
    it->second.plugged = true;
    return it->second;
}

FakeHidDevices::Interface* FakeHidDevices::Plugged(const std::string& path) {
    const auto it = interfaces_.find(path);
    return it != interfaces_.end() && it->second.plugged ? &it->second : nullptr;
}

}  // namespace platform::fake
