#pragma once
// Time as the program's logic sees it.

#include <cstdint>

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since the system started, wrapping every 49.7 days.
    virtual uint32_t TickCount() const = 0;
    // Blocks the calling thread for about this many milliseconds.
    virtual void Sleep(uint32_t milliseconds) = 0;
};

}  // namespace platform
