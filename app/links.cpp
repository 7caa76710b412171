#include "app/links.h"

std::string MailLink(const std::string& short_version) {
    return std::string("mailto:") + links::kMailAddress + "?subject=Glimmerbox%20V" + short_version;
}
