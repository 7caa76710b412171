#pragma once
// The program's own top-level windows as the desktop shows them: visible or
// hidden, and which window has the user's attention (the foreground window).

#include "platform/window_handle.h"

namespace platform {

class TopLevelWindows {
public:
    virtual ~TopLevelWindows() = default;

    // IsWindowVisible.
    virtual bool IsVisible(WindowHandle window) = 0;
    // ShowWindow(SW_SHOW) or ShowWindow(SW_HIDE).
    virtual void Show(WindowHandle window) = 0;
    virtual void Hide(WindowHandle window) = 0;
    // GetForegroundWindow() == window.
    virtual bool IsForeground(WindowHandle window) = 0;
    // SetForegroundWindow; the system may refuse it, which is no error.
    virtual void BringToForeground(WindowHandle window) = 0;
};

}  // namespace platform
