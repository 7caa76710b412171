#pragma once
// Version answers set by the test: the Windows version, the executable's
// path, and the file versions of the files that have version information.

#include "platform/version_info.h"

#include <map>

namespace platform::fake {

class FakeVersionInfo final : public VersionInfo {
public:
    std::optional<OsVersion> WindowsVersion() override { return windows_version_; }
    std::string ExecutablePath() override { return executable_path_; }
    std::optional<FileVersionNumber> FileVersion(const std::string& path) override {
        auto it = file_versions_.find(path);
        if (it == file_versions_.end()) return std::nullopt;
        return it->second;
    }

    // Nothing: the version query fails.
    void SetWindowsVersion(std::optional<OsVersion> version) { windows_version_ = version; }
    void SetExecutablePath(std::string path) { executable_path_ = std::move(path); }
    // Gives the file version information with the four 16-bit parts of its file version.
    void SetFileVersion(const std::string& path, uint16_t major, uint16_t minor, uint16_t release,
                        uint16_t build) {
        file_versions_[path] = {uint32_t{major} << 16 | minor, uint32_t{release} << 16 | build};
    }

private:
    std::optional<OsVersion> windows_version_ = OsVersion{6, 1};
    std::string executable_path_ = "C:\\Program Files\\Glimmerbox\\Glimmerbox.exe";
    std::map<std::string, FileVersionNumber> file_versions_;
};

}  // namespace platform::fake
