#pragma once
// Set-up failures are shown to the user once, in a message box without an
// owner window; driving failures are never shown.

#include <string>

namespace platform {

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // Shows text with an error icon and an OK button under caption; returns when dismissed.
    virtual void ShowError(const std::string& caption, const std::string& text) = 0;
};

}  // namespace platform
