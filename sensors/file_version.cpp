#include "sensors/file_version.h"

#include <cstdio>

cFileVersion::cFileVersion(platform::VersionInfo& version_info) {
    std::optional<platform::FileVersionNumber> version = version_info.FileVersion(version_info.ExecutablePath());
    if (!version) return;
    // The build number, the low word of the least significant half, is not shown.
    const unsigned major = version->most_significant >> 16;
    const unsigned minor = version->most_significant & 0xFFFF;
    const unsigned release = version->least_significant >> 16;
    char text[sizeof "65535.65535.65535"];
    std::snprintf(text, sizeof text, "%u.%u.%03u", major, minor, release);
    short_version_ = text;
}
