#pragma once
// Remembers every message box the logic showed, in order.

#include "platform/message_boxes.h"

#include <vector>

namespace platform::fake {

class FakeMessageBoxes final : public MessageBoxes {
public:
    struct Shown {
        std::string caption;
        std::string text;
        bool operator==(const Shown&) const = default;
    };

    void ShowError(const std::string& caption, const std::string& text) override { shown.push_back({caption, text}); }

    std::vector<Shown> shown;
};

}  // namespace platform::fake
