#pragma once

#include "platform/message_boxes.h"
#include "platform/window_handle.h"

namespace platform::win32 {

class Win32MessageBoxes final : public MessageBoxes {
public:
    // While window is visible, the boxes are owned by it: it takes no input until they are
    // closed, so none of its handlers runs inside the one that showed the box. A hidden
    // window owns none.
    void OwnBoxesBy(WindowHandle window) { owner_ = window; }
    void ShowError(const std::string& caption, const std::string& text) override;

private:
    WindowHandle owner_ = nullptr;
};

}  // namespace platform::win32
