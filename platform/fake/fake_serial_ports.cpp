#include "platform/fake/fake_serial_ports.h"

#include <charconv>
#include <string_view>

namespace platform::fake {
namespace {

class FakePort final : public SerialPort {
public:
    FakePort(FakeSerialPorts::Port& port, const Clock& clock) : port_(port), clock_(clock) {}
    ~FakePort() override { port_.open = false; }
    FakePort(const FakePort&) = delete;
    FakePort& operator=(const FakePort&) = delete;

    bool DisableLineControl() override {
        port_.line_control_disabled = true;
        return true;
    }

    bool EscapeCommFunction(CommFunction function) override {
        port_.writes.push_back({clock_.TickCount(), function});
        switch (function) {
        case CommFunction::SetDtr: port_.dtr = true; break;
        case CommFunction::ClrDtr: port_.dtr = false; break;
        case CommFunction::SetRts: port_.rts = true; break;
        case CommFunction::ClrRts: port_.rts = false; break;
        case CommFunction::SetBreak: port_.brk = true; break;
        case CommFunction::ClrBreak: port_.brk = false; break;
        default: return false;
        }
        return true;
    }

    std::optional<uint32_t> GetCommModemStatus() override {
        if (port_.fail_modem_status) return std::nullopt;
        const FakeSerialPorts::Wiring& w = port_.wiring;
        return w.held | (port_.dtr ? w.dtr : 0) | (port_.rts ? w.rts : 0) | (port_.brk ? w.txd : 0);
    }

private:
    FakeSerialPorts::Port& port_;
    const Clock& clock_;
};

// "\\.\COM12" -> 12; 0 for any other name.
int PortNumber(std::string_view path) {
    constexpr std::string_view prefix = "\\\\.\\COM";
    if (!path.starts_with(prefix)) return 0;
    path.remove_prefix(prefix.size());
    int number = 0;
    auto [end, error] = std::from_chars(path.data(), path.data() + path.size(), number);
    return error == std::errc() && end == path.data() + path.size() ? number : 0;
}

}  // namespace

FakeSerialPorts::Port& FakeSerialPorts::AddPort(int number, Wiring wiring) {
    Port& port = ports_[number];
    port.wiring = wiring;
    return port;
}

FakeSerialPorts::Port& FakeSerialPorts::AddBusyPort(int number, uint32_t error) {
    Port& port = ports_[number];
    port.open_error = error;
    return port;
}

SerialPorts::OpenResult FakeSerialPorts::Open(const std::string& path, uint32_t access) {
    auto it = ports_.find(PortNumber(path));
    if (it == ports_.end()) return {nullptr, kErrorFileNotFound};
    Port& port = it->second;
    if (port.open_error != 0) return {nullptr, port.open_error};
    if (port.open) return {nullptr, kErrorAccessDenied};  // serial ports are never shared
    port.open = true;
    port.line_control_disabled = false;
    port.access = access;
    ++port.opens;
    return {std::make_unique<FakePort>(port, clock_), 0};
}

}  // namespace platform::fake
