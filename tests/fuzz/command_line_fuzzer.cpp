// The command-line rules over arbitrary argument lists: arguments of any
// length and bytes, the rules' words in any case and place. The rules judge
// each argument on its own, so the whole line must be what its arguments
// give one by one: unknown and LOGDETECT when any argument says so, and for
// each user event the value of the last argument that sets it.
#include "app/command_line.h"
#include "tests/fuzz/fuzz_require.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

namespace {

// The words the rules look for, so that arguments meet them often.
std::string NextArgument(FuzzedDataProvider& input) {
    static constexpr const char* kWords[] = {"Glimmerbox.exe", "UserEvent0=", "userevent1=", "USEREVENT2=",
                                             "LogDetect", "=0", "=1", "C:\\Program Files\\"};
    std::string argument;
    for (int parts = input.ConsumeIntegralInRange(0, 3); parts > 0; --parts)
        argument += input.ConsumeBool() ? input.PickValueInArray(kWords) : input.ConsumeRandomLengthString(12);
    return argument;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    const bool remote_session = input.ConsumeBool();
    std::vector<std::string> arguments;
    while (input.remaining_bytes() > 0 && arguments.size() < 64) arguments.push_back(NextArgument(input));

    const command_line whole = ParseCommandLine(arguments);
    command_line expected;
    for (const std::string& argument : arguments) {
        const command_line single = ParseCommandLine(std::span(&argument, 1));
        expected.unknown |= single.unknown;
        expected.log_detect |= single.log_detect;
        for (std::size_t i = 0; i < expected.user_events.size(); ++i)
            if (single.user_events[i]) expected.user_events[i] = single.user_events[i];
    }
    FUZZ_REQUIRE(whole.unknown == expected.unknown && whole.log_detect == expected.log_detect);
    FUZZ_REQUIRE(whole.user_events == expected.user_events);

    // Unknown arguments end the program before user events, user events before a remote session.
    const std::optional<int> exit = StartUpExitCode(whole, remote_session);
    if (whole.unknown)
        FUZZ_REQUIRE(exit == exit_code::UnknownArgument);
    else if (whole.AnyUserEvent())
        FUZZ_REQUIRE(exit == exit_code::UserEventSet);
    else
        FUZZ_REQUIRE(exit == (remote_session ? std::optional(exit_code::RemoteSession) : std::nullopt));
    return 0;
}
