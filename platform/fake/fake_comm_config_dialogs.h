#pragma once
// Remembers the ports whose configuration dialog the logic opened.

#include "platform/comm_config_dialogs.h"

#include <vector>

namespace platform::fake {

class FakeCommConfigDialogs final : public CommConfigDialogs {
public:
    bool Show(const std::string& port_name) override {
        shown.push_back(port_name);
        return false;  // no such port on this machine
    }

    std::vector<std::string> shown;
};

}  // namespace platform::fake
