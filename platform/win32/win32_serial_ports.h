#pragma once
// Serial ports through CreateFileA and the communications calls.

#include "platform/serial_ports.h"

namespace platform::win32 {

class Win32SerialPorts final : public SerialPorts {
public:
    OpenResult Open(const std::string& path, uint32_t access) override;
};

}  // namespace platform::win32
