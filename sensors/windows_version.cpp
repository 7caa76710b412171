#include "sensors/windows_version.h"

#include <array>

namespace {

constexpr const char* kMediaCenterKey = "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Media Center";
constexpr const char* kIdentValue = "Ident";
constexpr std::string_view kNoMediaCenterIdent = "0.0";

}  // namespace

cWindowsVersion::cWindowsVersion(platform::VersionInfo& version_info, platform::SystemMetrics& metrics,
                                 platform::Registry& registry)
    : metrics_(metrics),
      registry_(registry),
      os_version_(version_info.WindowsVersion().value_or(platform::OsVersion{})) {}

bool cWindowsVersion::IsVistaOrLater() const { return os_version_.major >= 6; }

bool cWindowsVersion::IsXpOr2003() const { return os_version_.major == 5 && os_version_.minor >= 1; }

bool cWindowsVersion::IsMediaCenterEdition() const { return metrics_.Get(platform::kSmMediaCenter) != 0; }

std::string_view cWindowsVersion::UiFontName() const {
    if (IsVistaOrLater()) return "Segoe UI";
    if (IsXpOr2003()) return "Tahoma";
    return "MS Sans Serif";
}

std::string cWindowsVersion::MediaCenterIdent() const {
    // An "Ident" of another type than a string counts as no Ident at all.
    auto key = registry_.OpenReadOnly(platform::RegistryRoot::LocalMachine, kMediaCenterKey);
    if (!key) return std::string(kNoMediaCenterIdent);
    return key->ReadString(kIdentValue).value_or(std::string(kNoMediaCenterIdent));
}

std::string_view cWindowsVersion::MediaCenterVersionName() const {
    return ::MediaCenterVersionName(MediaCenterIdent());
}

std::string_view MediaCenterVersionName(std::string_view ident) {
    // Idents are compared as byte strings, not as numbers: "10.0" sorts before "2.7".
    struct Release {
        std::string_view ident;
        std::string_view name;
    };
    constexpr std::string_view kMediaCenter2004 = "Windows Media Center 2004";
    static constexpr std::array<Release, 8> kReleases = {{
        {"2.7", kMediaCenter2004},
        {"2.8", kMediaCenter2004},
        {"3.0", "Windows Media Center 2005"},
        {"3.1", "Windows Media Center 2005 + Update Rollup 1"},
        {"4.0", "Windows Media Center 2005 + Update Rollup 2"},
        {"5.0", "Windows Media Center for Windows Vista"},
        {"5.1", "Windows Media Center for Windows Vista + TVPack 2008"},
        {"6.0", "Windows Media Center for Windows 7"},
    }};

    if (ident == kNoMediaCenterIdent) return "No Media Center version";
    if (ident < kReleases.front().ident) return "Windows Media Center 2002";
    for (const Release& release : kReleases)
        if (ident == release.ident) return release.name;
    if (ident > kReleases.back().ident) return "Unknown Media Center version";
    return {};
}
