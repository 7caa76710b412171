#include "platform/win32/win32_version_info.h"

#include <windows.h>

#include <vector>

namespace platform::win32 {

std::optional<OsVersion> Win32VersionInfo::WindowsVersion() {
    OSVERSIONINFOEXA info{};
    info.dwOSVersionInfoSize = sizeof info;
    static_assert(sizeof(OSVERSIONINFOEXA) == 156);
    if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return std::nullopt;
    return OsVersion{info.dwMajorVersion, info.dwMinorVersion};
}

std::string Win32VersionInfo::ExecutablePath() {
    // A path may be longer than MAX_PATH: grow until the answer is not cut short.
    std::string path(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<FileVersionNumber> Win32VersionInfo::FileVersion(const std::string& path) {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<char> block(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, block.data())) return std::nullopt;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.data(), root, reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::nullopt;
    return FileVersionNumber{fixed->dwFileVersionMS, fixed->dwFileVersionLS};
}

}  // namespace platform::win32
