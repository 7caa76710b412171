#pragma once
// What the program runs on: the Windows version (read once, at
// construction), whether Windows is a Media Center edition, and which Media
// Center version is installed (both asked afresh at each call).

#include "platform/registry.h"
#include "platform/system_metrics.h"
#include "platform/version_info.h"

#include <string>
#include <string_view>

class cWindowsVersion {
public:
    cWindowsVersion(platform::VersionInfo& version_info, platform::SystemMetrics& metrics,
                    platform::Registry& registry);

    bool IsVistaOrLater() const;
    bool IsXpOr2003() const;
    bool IsMediaCenterEdition() const;
    // The face the program's windows use: the system's own UI font of this Windows version.
    std::string_view UiFontName() const;
    // The installed Media Center's "Ident" value, "0.0" when there is none.
    std::string MediaCenterIdent() const;
    // The Media Center release that MediaCenterIdent names, in words.
    std::string_view MediaCenterVersionName() const;

private:
    platform::SystemMetrics& metrics_;
    platform::Registry& registry_;
    platform::OsVersion os_version_;
};

// The release name of a Media Center "Ident" value; empty when the value
// lies between known releases.
std::string_view MediaCenterVersionName(std::string_view ident);
