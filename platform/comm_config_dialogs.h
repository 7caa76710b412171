#pragma once
// The system's configuration dialog of a communications port (CommConfigDialog).

#include <string>

namespace platform {

class CommConfigDialogs {
public:
    virtual ~CommConfigDialogs() = default;

    // CommConfigDialog(port_name, no owner, no configuration record): modal; returns
    // when the user closes it. False when the dialog failed (no such port).
    virtual bool Show(const std::string& port_name) = 0;
};

}  // namespace platform
