#pragma once
// Power information, power-setting notifications and last input through the real calls.

#include "platform/power.h"
#include "platform/window_finder.h"

namespace platform::win32 {

class Win32Power final : public Power {
public:
    std::unique_ptr<PowerInformation> LoadPowerInformation(DllBinding& binding) override;
    DllBinding RegisterPowerSettingNotifications(WindowHandle window, std::span<const Guid> settings) override;
    bool IsSystemResumeAutomatic() override;
    std::optional<uint32_t> LastInputTime() override;
};

class Win32WindowFinder final : public WindowFinder {
public:
    bool ClassExists(const char* class_name) override;
};

}  // namespace platform::win32
