#pragma once
// The system's own millisecond tick count and sleep.

#include "platform/clock.h"

namespace platform::win32 {

class Win32Clock final : public Clock {
public:
    uint32_t TickCount() const override;
    void Sleep(uint32_t milliseconds) override;
};

}  // namespace platform::win32
