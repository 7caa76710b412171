#pragma once
// Multimedia timers through timeSetEvent and timeKillEvent (winmm).

#include "platform/multimedia_timers.h"

namespace platform::win32 {

class Win32MultimediaTimers final : public MultimediaTimers {
public:
    uint32_t SetEvent(uint32_t period_ms, uint32_t resolution_ms, TimerCallback& callback) override;
    bool KillEvent(uint32_t timer_id) override;
};

}  // namespace platform::win32
