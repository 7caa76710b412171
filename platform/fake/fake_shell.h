#pragma once
// Remembers every target the logic opened with the shell, in order.

#include "platform/shell.h"

#include <vector>

namespace platform::fake {

class FakeShell final : public Shell {
public:
    bool Open(const std::string& target) override {
        opened.push_back(target);
        return true;
    }

    std::vector<std::string> opened;
};

}  // namespace platform::fake
