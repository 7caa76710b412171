#include "app/command_line.h"

#include <cctype>

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

command_line ParseCommandLine(std::span<const std::string> arguments) {
    static constexpr const char* kUserEventPrefixes[] = {"USEREVENT0=", "USEREVENT1=", "USEREVENT2="};
    constexpr std::size_t kPrefixLength = 11;

    command_line parsed;
    for (const std::string& argument : arguments) {
        const std::string upper = UpperCase(argument);
        bool known = false;
        if (upper.find("GLIMMERBOX.EXE") != std::string::npos) known = true;
        for (std::size_t i = 0; i < 3; ++i) {
            if (!upper.starts_with(kUserEventPrefixes[i])) continue;
            // Only a "0" right after the "=" clears the event; anything else, nothing included, sets it.
            parsed.user_events[i] = upper.compare(kPrefixLength - 1, 2, "=0") != 0;
            known = true;
        }
        if (upper.find("LOGDETECT") != std::string::npos) {
            parsed.log_detect = true;
            known = true;
        }
        if (!known) parsed.unknown = true;
    }
    return parsed;
}

std::optional<int> StartUpExitCode(const command_line& parsed, bool remote_session) {
    if (parsed.unknown) return exit_code::UnknownArgument;
    if (parsed.AnyUserEvent()) return exit_code::UserEventSet;
    if (remote_session) return exit_code::RemoteSession;
    return std::nullopt;
}
