#pragma once
// Keyboards through CreateFileA and DeviceIoControl on the keyboard class driver.

#include "platform/keyboards.h"

namespace platform::win32 {

class Win32Keyboards final : public Keyboards {
public:
    Opened Open(const std::string& path) override;
    bool SetIndicators(const std::string& path, uint16_t led_flags) override;
    int16_t KeyState(int virtual_key) override;
};

}  // namespace platform::win32
