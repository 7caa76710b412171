#pragma once
// The version of the program's own executable file, as the short text the
// main window and the detection log show after a "V".

#include "platform/version_info.h"

#include <string>

class cFileVersion {
public:
    // Reads the executable's version information once.
    explicit cFileVersion(platform::VersionInfo& version_info);

    // major.minor.release, the release at least 3 digits ("0.9.020"); "0.0.0.0"
    // when the executable has no version information.
    const std::string& ShortVersion() const { return short_version_; }

private:
    std::string short_version_ = "0.0.0.0";
};
