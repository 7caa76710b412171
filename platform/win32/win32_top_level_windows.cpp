#include "platform/win32/win32_top_level_windows.h"

#include <windows.h>

namespace platform::win32 {

bool Win32TopLevelWindows::IsVisible(WindowHandle window) { return IsWindowVisible(static_cast<HWND>(window)); }

void Win32TopLevelWindows::Show(WindowHandle window) { ShowWindow(static_cast<HWND>(window), SW_SHOW); }

void Win32TopLevelWindows::Hide(WindowHandle window) { ShowWindow(static_cast<HWND>(window), SW_HIDE); }

bool Win32TopLevelWindows::IsForeground(WindowHandle window) { return GetForegroundWindow() == window; }

void Win32TopLevelWindows::BringToForeground(WindowHandle window) { SetForegroundWindow(static_cast<HWND>(window)); }

}  // namespace platform::win32
