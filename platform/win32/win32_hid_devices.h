#pragma once
// HID interfaces through SetupAPI (the HID device-interface class) and
// hid.dll, both loaded from the system folder when first needed, so that the
// program starts without them; where either is missing no interface is listed.

#include "platform/hid_devices.h"

#include <memory>

namespace platform::win32 {

class Win32HidDevices final : public HidDevices {
public:
    Win32HidDevices();
    ~Win32HidDevices() override;

    std::vector<std::string> InterfacePaths() override;
    std::optional<HidIdentity> Identify(const std::string& path) override;
    std::unique_ptr<HidConnection> Open(const std::string& path) override;
    std::string SerialNumber(const std::string& path) override;

private:
    struct Api;
    // The bound entry points; null until first needed, and while a library is missing.
    const Api* Bound();

    std::unique_ptr<Api> api_;
    bool tried_ = false;
};

}  // namespace platform::win32
