#include "platform/win32/win32_clock.h"

#include <windows.h>

namespace platform::win32 {

uint32_t Win32Clock::TickCount() const { return GetTickCount(); }

void Win32Clock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

}  // namespace platform::win32
