#pragma once
// Where the About tab's links and the suspend notice's button lead. Until the
// product has a home of its own, they point at reserved example domains.

#include <string>

namespace links {
inline constexpr const char* kWebSite = "https://www.example.com/glimmerbox";
inline constexpr const char* kWebSiteText = "www.example.com/glimmerbox";
inline constexpr const char* kForum = "https://forum.example.org/glimmerbox";
inline constexpr const char* kForumText = "forum.example.org/glimmerbox";
inline constexpr const char* kMailAddress = "glimmerbox@example.com";
// The forum thread about the system-suspend event.
inline constexpr const char* kSuspendThread = "https://forum.example.org/glimmerbox/system-suspend";
}  // namespace links

// A new mail to the maker whose subject is "Glimmerbox V" and the short version.
std::string MailLink(const std::string& short_version);
