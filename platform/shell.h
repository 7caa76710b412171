#pragma once
// The shell's "open" verb: a web page in the default browser, a mailto:
// address in the default mail program.

#include <string>

namespace platform {

class Shell {
public:
    virtual ~Shell() = default;

    // ShellExecute(no owner, "open", target, no parameters, no folder, SW_SHOWNORMAL);
    // true iff the shell started something. Failures are not shown.
    virtual bool Open(const std::string& target) = 0;
};

}  // namespace platform
