#pragma once
// Multimedia timers: millisecond timers whose callbacks run on the system's
// timer thread, one callback at a time. Every timer is created with kill
// synchronous semantics: once KillEvent returns, no callback of it runs.

#include <cstdint>

namespace platform {

class TimerCallback {
public:
    // Runs on the timer thread with the ID that SetEvent returned.
    virtual void OnTimer(uint32_t timer_id) = 0;

protected:
    ~TimerCallback() = default;
};

enum class TimerKind { OneShot, Periodic };

class MultimediaTimers {
public:
    virtual ~MultimediaTimers() = default;

    // Calls callback after delay ms (then every delay ms when periodic) with the
    // given resolution; returns the timer's ID, never 0, or 0 when no timer was made.
    virtual uint32_t SetEvent(uint32_t delay_ms, uint32_t resolution_ms, TimerCallback& callback,
                              TimerKind kind) = 0;
    // Stops the timer, waiting for a callback in progress; false when there is no such timer.
    virtual bool KillEvent(uint32_t timer_id) = 0;
};

}  // namespace platform
