#pragma once
// Multimedia timers: periodic millisecond timers whose callbacks run on the
// system's timer thread, one callback at a time. Every timer is created with
// kill synchronous semantics: once KillEvent returns, no callback of it runs,
// and none is still under way.

#include <cstdint>

namespace platform {

class TimerCallback {
public:
    // Runs on the timer thread with the ID that SetEvent returned.
    virtual void OnTimer(uint32_t timer_id) = 0;

protected:
    ~TimerCallback() = default;
};

class MultimediaTimers {
public:
    virtual ~MultimediaTimers() = default;

    // Calls callback every period_ms with the given resolution; returns the
    // timer's ID, never 0, or 0 when no timer was made.
    virtual uint32_t SetEvent(uint32_t period_ms, uint32_t resolution_ms, TimerCallback& callback) = 0;
    // Stops the timer, waiting for a callback in progress; false when there is no such timer.
    virtual bool KillEvent(uint32_t timer_id) = 0;
};

}  // namespace platform
