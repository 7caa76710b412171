#include "platform/win32/win32_comm_config_dialogs.h"

#include <windows.h>

namespace platform::win32 {

bool Win32CommConfigDialogs::Show(const std::string& port_name) {
    return CommConfigDialogA(port_name.c_str(), nullptr, nullptr) != FALSE;
}

}  // namespace platform::win32
