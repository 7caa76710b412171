#pragma once
// Remembers every message box the logic showed, in order.

#include "platform/message_boxes.h"

#include <functional>
#include <vector>

namespace platform::fake {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string caption;
        std::string text;
        bool operator==(const Shown&) const = default;
    };

    void ShowError(const std::string& caption, const std::string& text) override {
        shown.push_back({caption, text});
        if (while_shown) while_shown();
    }

    std::vector<Shown> shown;
    // Runs while a box is up, as the user would see the machine then.
    std::function<void()> while_shown;
};

}  // namespace platform::fake
