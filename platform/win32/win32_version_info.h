#pragma once
// The system's version answers: GetVersionExA, GetModuleFileNameA and the
// file version information calls.

#include "platform/version_info.h"

namespace platform::win32 {

class Win32VersionInfo final : public VersionInfo {
public:
    std::optional<OsVersion> WindowsVersion() override;
    std::string ExecutablePath() override;
    std::optional<FileVersionNumber> FileVersion(const std::string& path) override;
};

}  // namespace platform::win32
