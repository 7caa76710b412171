#pragma once
// CommConfigDialog.

#include "platform/comm_config_dialogs.h"

namespace platform::win32 {

class Win32CommConfigDialogs final : public CommConfigDialogs {
public:
    bool Show(const std::string& port_name) override;
};

}  // namespace platform::win32
