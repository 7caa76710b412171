#pragma once
// SetTimer and KillTimer on one window.

#include "platform/window_handle.h"
#include "platform/window_timers.h"

namespace platform::win32 {

class Win32WindowTimers final : public WindowTimers {
public:
    explicit Win32WindowTimers(WindowHandle window) : window_(window) {}

    bool Set(uint32_t id, uint32_t interval_ms) override;
    void Kill(uint32_t id) override;

private:
    WindowHandle window_;
};

}  // namespace platform::win32
