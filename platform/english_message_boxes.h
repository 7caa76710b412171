#pragma once
// Standard message boxes whose OK, Yes and No buttons always read "OK",
// "Yes" and "No", whatever the language of Windows. Types and results are
// MessageBox's own.

#include "platform/window_handle.h"

#include <cstdint>
#include <string>

namespace platform {

// MessageBox types.
inline constexpr uint32_t kMbOk = 0x0;
inline constexpr uint32_t kMbYesNo = 0x4;
inline constexpr uint32_t kMbIconQuestion = 0x20;
// MessageBox results, which are also the IDs of the box's buttons.
inline constexpr int kIdOk = 1;
inline constexpr int kIdYes = 6;
inline constexpr int kIdNo = 7;

class EnglishMessageBoxes {
public:
    virtual ~EnglishMessageBoxes() = default;

    // Shows text under title with the buttons and icon of type, owned by owner (null for
    // none); returns the button chosen (kIdOk, kIdYes, kIdNo ...) once the box is closed.
    virtual int Show(WindowHandle owner, const std::string& text, const std::string& title, uint32_t type) = 0;
};

}  // namespace platform
