#pragma once
// The real registry through the ANSI registry calls.

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenReadOnly(RegistryRoot root, const std::string& path) override;
    std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, const std::string& path) override;
    bool KeyExists(RegistryRoot root, const std::string& path) override;
    bool DeleteTree(RegistryRoot root, const std::string& path) override;
};

}  // namespace platform::win32
