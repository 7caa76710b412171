#pragma once
// Serial ports in memory, by number: missing, busy, or present with wiring
// that decides which modem inputs answer each output line. Every line write
// is recorded with the clock's time. A port opens once at a time, as a real
// one does.

#include "platform/clock.h"
#include "platform/serial_ports.h"

#include <map>
#include <vector>

namespace platform::fake {

// Which modem inputs (kMsCtsOn, kMsDsrOn, kMsRlsdOn) each output line of a port raises.
struct PortWiring {
    uint32_t dtr = 0;
    uint32_t rts = 0;
    uint32_t txd = 0;
    uint32_t held = 0;  // inputs that are up whatever the lines do (a modem's DSR)
};

class FakeSerialPorts final : public SerialPorts {
public:
    using Wiring = PortWiring;
    struct LineWrite {
        uint32_t time;
        CommFunction function;
        bool operator==(const LineWrite&) const = default;
    };
    struct Port {
        uint32_t open_error = 0;  // GetLastError of every open attempt; 0 when it opens
        Wiring wiring;
        bool fail_modem_status = false;
        // The inputs follow a line change only this long after it, as through a USB adapter.
        uint32_t answer_delay_ms = 0;
        bool dtr = false, rts = false, brk = false;
        bool open = false;
        bool line_control_disabled = false;  // DisableLineControl ran since the last open
        int opens = 0;
        uint32_t access = 0;  // of the latest open
        std::vector<LineWrite> writes;
    };

    explicit FakeSerialPorts(const Clock& clock) : clock_(clock) {}

    Port& AddPort(int number, Wiring wiring = {});
    // A port that exists but fails every open with this error (5, 31, 32 or 121).
    Port& AddBusyPort(int number, uint32_t error);
    // The port, which must have been added.
    Port& port(int number) { return ports_.at(number); }

    OpenResult Open(const std::string& path, uint32_t access) override;

private:
    const Clock& clock_;
    std::map<int, Port> ports_;
};

}  // namespace platform::fake
