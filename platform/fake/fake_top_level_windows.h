#pragma once
// Which of the program's windows are visible and which one is in the
// foreground, as the test sets it up and the logic changes it.

#include "platform/top_level_windows.h"

#include <set>

namespace platform::fake {

class FakeTopLevelWindows final : public TopLevelWindows {
public:
    bool IsVisible(WindowHandle window) override { return visible_.count(window) != 0; }
    void Show(WindowHandle window) override {
        visible_.insert(window);
        ++shows;
    }
    void Hide(WindowHandle window) override {
        visible_.erase(window);
        if (foreground_ == window) foreground_ = nullptr;
    }
    bool IsForeground(WindowHandle window) override { return window != nullptr && foreground_ == window; }
    void BringToForeground(WindowHandle window) override { foreground_ = window; }

    // Another program's window takes the foreground.
    void LoseForeground() { foreground_ = nullptr; }
    int shows = 0;  // how many times any window was shown

private:
    std::set<WindowHandle> visible_;
    WindowHandle foreground_ = nullptr;
};

}  // namespace platform::fake
