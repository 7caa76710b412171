#pragma once
// Remembers every English message box the logic showed and answers each with
// the button the test chose (OK by default).

#include "platform/english_message_boxes.h"

#include <vector>

namespace platform::fake {

class FakeEnglishMessageBoxes final : public EnglishMessageBoxes {
public:
    struct Shown {
        WindowHandle owner;
        std::string text;
        std::string title;
        uint32_t type;
    };

    int Show(WindowHandle owner, const std::string& text, const std::string& title, uint32_t type) override {
        shown.push_back({owner, text, title, type});
        return answer;
    }

    int answer = kIdOk;
    std::vector<Shown> shown;
};

}  // namespace platform::fake
