#pragma once

#include "platform/message_boxes.h"

namespace platform::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    void ShowError(const std::string& caption, const std::string& text) override;
};

}  // namespace platform::win32
