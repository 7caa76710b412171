#pragma once
// The output bits of a serial device and the EscapeCommFunction codes that
// switch their lines. TXD is held as a static level through the break condition.

#include "platform/serial_ports.h"

#include <cstdint>

struct serial_line {
    uint32_t bit;
    platform::CommFunction on;
    platform::CommFunction off;
};

inline constexpr serial_line kSerialLines[] = {
    {0x1, platform::CommFunction::SetDtr, platform::CommFunction::ClrDtr},
    {0x2, platform::CommFunction::SetRts, platform::CommFunction::ClrRts},
    {0x4, platform::CommFunction::SetBreak, platform::CommFunction::ClrBreak},
};
inline constexpr int kSerialLineCount = 3;
