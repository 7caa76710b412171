#include "platform/win32/win32_message_boxes.h"

#include <windows.h>

namespace platform::win32 {

void Win32MessageBoxes::ShowError(const std::string& caption, const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace platform::win32
