#include "platform/win32/win32_shell.h"

#include <windows.h>
#include <shellapi.h>

namespace platform::win32 {

bool Win32Shell::Open(const std::string& target) {
    // Values above 32 mean success.
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace platform::win32
