#pragma once
// IsWindowVisible, ShowWindow, GetForegroundWindow, SetForegroundWindow.

#include "platform/top_level_windows.h"

namespace platform::win32 {

class Win32TopLevelWindows final : public TopLevelWindows {
public:
    bool IsVisible(WindowHandle window) override;
    void Show(WindowHandle window) override;
    void Hide(WindowHandle window) override;
    bool IsForeground(WindowHandle window) override;
    void BringToForeground(WindowHandle window) override;
};

}  // namespace platform::win32
