#pragma once
// Geometry designed at 96 dpi, scaled for the DPI of the monitor a window is
// on. The per-monitor functions exist only on newer Windows and are bound by
// name, so the program still starts on Windows XP.

#include <windows.h>

inline constexpr UINT kDesignDpi = 96;

inline int ScaleForDpi(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), kDesignDpi); }

// The window's DPI (GetDpiForWindow), or the screen's where that is missing.
UINT WindowDpi(HWND window);
// The width of a small icon (SM_CXSMICON) at the window's DPI: what the notification area shows.
int SmallIconSize(HWND window);
// The window rectangle, at the origin, around a client area of the given size
// in pixels, with the frame of a window at dpi.
RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style, UINT dpi);
