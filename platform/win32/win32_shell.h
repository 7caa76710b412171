#pragma once
// ShellExecute with the "open" verb.

#include "platform/shell.h"

namespace platform::win32 {

class Win32Shell final : public Shell {
public:
    bool Open(const std::string& target) override;
};

}  // namespace platform::win32
