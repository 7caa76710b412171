#pragma once
// MessageBox with English captions on its OK, Yes and No buttons: a CBT hook
// on the calling thread renames them each time the box is activated.

#include "platform/english_message_boxes.h"

namespace platform::win32 {

class Win32EnglishMessageBoxes final : public EnglishMessageBoxes {
public:
    int Show(WindowHandle owner, const std::string& text, const std::string& title, uint32_t type) override;
};

// The box itself, for callers that hold a window handle: MessageBox's own
// arguments and result. One box at a time per thread.
int EnglishMessageBox(WindowHandle owner, const char* text, const char* title, uint32_t type);

}  // namespace platform::win32
