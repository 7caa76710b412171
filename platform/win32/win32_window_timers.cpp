#include "platform/win32/win32_window_timers.h"

#include <windows.h>

namespace platform::win32 {

bool Win32WindowTimers::Set(uint32_t id, uint32_t interval_ms) {
    return SetTimer(static_cast<HWND>(window_), id, interval_ms, nullptr) != 0;
}

void Win32WindowTimers::Kill(uint32_t id) { KillTimer(static_cast<HWND>(window_), id); }

static_assert(kWmTimer == WM_TIMER);

}  // namespace platform::win32
