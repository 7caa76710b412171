#pragma once
// The program's command line: every argument, the program's own path
// included, is upper-cased and tested against all five rules; an argument
// that meets none is unknown. The command line may end the program at start.

#include <array>
#include <optional>
#include <span>
#include <string>

inline constexpr const char* kHelpTitle = "Glimmerbox Help";
inline constexpr const char* kHelpText =
    "Command line options:\r\n\r\nUSEREVENTx=y - Set user event state.\r\nWhere x = 0 to 2 and y = 0 or 1\r\n\r\n"
    "LOGDETECT - Create device detection log file.";

// How the program ends at start instead of running.
namespace exit_code {
inline constexpr int UnknownArgument = 1;  // the help box was shown first
inline constexpr int UserEventSet = 2;     // the user event values were stored
inline constexpr int RemoteSession = 4;    // started inside a remote desktop session
inline constexpr int HandedOver = 0;       // the program running in this session took the start
}  // namespace exit_code

struct command_line {
    // The value given for "UserEvent0" to "UserEvent2"; the last one given wins.
    std::array<std::optional<bool>, 3> user_events;
    bool log_detect = false;  // "LOGDETECT" anywhere in an argument
    bool unknown = false;     // at least one argument met no rule

    bool AnyUserEvent() const { return user_events[0] || user_events[1] || user_events[2]; }
};

// Applies the rules to arguments (argument 0 is the program's own path).
command_line ParseCommandLine(std::span<const std::string> arguments);

// The exit code the parsed command line ends the program with, in the order unknown
// argument, user event, remote session; nothing when the program runs on.
std::optional<int> StartUpExitCode(const command_line& parsed, bool remote_session);
