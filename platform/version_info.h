#pragma once
// What the system says about its own version and about the version of a file.

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

struct OsVersion {
    uint32_t major = 0;
    uint32_t minor = 0;
};

// The file version of a VS_FIXEDFILEINFO: major.minor in the most significant
// double word, release.build in the least significant one.
struct FileVersionNumber {
    uint32_t most_significant = 0;
    uint32_t least_significant = 0;
};

class VersionInfo {
public:
    virtual ~VersionInfo() = default;

    // Major and minor version of the running Windows (GetVersionExA on an OSVERSIONINFOEXA); nothing on failure.
    virtual std::optional<OsVersion> WindowsVersion() = 0;
    // The full path of the running program's executable file (GetModuleFileNameA).
    virtual std::string ExecutablePath() = 0;
    // The file version of path's fixed file information (GetFileVersionInfoA, VerQueryValueA "\");
    // nothing when the file has no version information or it cannot be read.
    virtual std::optional<FileVersionNumber> FileVersion(const std::string& path) = 0;
};

}  // namespace platform
