#pragma once
// Pictures of windows as they are on the screen, saved as PNG.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Copies the window's rectangle from the screen into a PNG file. The window
// must be visible and on top; true when the file was written.
bool SaveWindowPicture(HWND window, const std::wstring& png_path);

// The window's pixels as they are on the screen, top-down 0x00RRGGBB; empty when it is not visible.
std::vector<DWORD> WindowPixels(HWND window);

}  // namespace e2e
