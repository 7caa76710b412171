#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

namespace platform::win32 {

void Win32MessageBoxes::ShowError(const std::string& caption, const std::string& text) {
    HWND owner = static_cast<HWND>(owner_);
    if (owner && !IsWindowVisible(owner)) owner = nullptr;
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace platform::win32
