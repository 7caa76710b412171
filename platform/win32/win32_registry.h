#pragma once
// The real registry through the ANSI registry calls.

#include "platform/registry.h"

namespace platform::win32 {

class Win32Registry final : public Registry {
public:
    std::unique_ptr<RegistryKey> OpenReadOnly(RegistryRoot root, std::string_view path) override;
    std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, std::string_view path) override;
    bool KeyExists(RegistryRoot root, std::string_view path) override;
    bool DeleteTree(RegistryRoot root, std::string_view path) override;
    std::optional<uint32_t> ReadDword(RegistryRoot root, std::string_view path, std::string_view name) override;
};

}  // namespace platform::win32
