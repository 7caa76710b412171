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
        return SetLine(function, port_.dtr, port_.rts, port_.brk);
    }

    std::optional<uint32_t> GetCommModemStatus() override {
        if (port_.fail_modem_status) return std::nullopt;
        // The lines as the inputs see them: as they were answer_delay_ms ago.
        const uint32_t seen_at = clock_.TickCount() - port_.answer_delay_ms;
        bool dtr = false, rts = false, brk = false;
        for (const FakeSerialPorts::LineWrite& write : port_.writes) {
            if (static_cast<int32_t>(write.time - seen_at) > 0) break;
            SetLine(write.function, dtr, rts, brk);
        }
        const FakeSerialPorts::Wiring& w = port_.wiring;
        return w.held | (dtr ? w.dtr : 0) | (rts ? w.rts : 0) | (brk ? w.txd : 0);
    }

private:
    static bool SetLine(CommFunction function, bool& dtr, bool& rts, bool& brk) {
        switch (function) {
        case CommFunction::SetDtr: dtr = true; break;
        case CommFunction::ClrDtr: dtr = false; break;
        case CommFunction::SetRts: rts = true; break;
        case CommFunction::ClrRts: rts = false; break;
        case CommFunction::SetBreak: brk = true; break;
        case CommFunction::ClrBreak: brk = false; break;
        default: return false;
        }
        return true;
    }

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
