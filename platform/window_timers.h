#pragma once
// Timers of a window (SetTimer with a window and an ID): they are delivered as
// WM_TIMER messages to that window on its own thread, so their handlers never
// overlap the window's other handlers.

#include <cstdint>

namespace platform {

inline constexpr uint32_t kWmTimer = 0x0113;

class WindowTimers {
public:
    virtual ~WindowTimers() = default;

    // Starts the window's timer id firing every interval_ms, or restarts it from now
    // when it already runs. False when the system made no timer.
    virtual bool Set(uint32_t id, uint32_t interval_ms) = 0;
    // Stops the window's timer id; a timer that does not run is no error.
    virtual void Kill(uint32_t id) = 0;
};

}  // namespace platform
