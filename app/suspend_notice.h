#pragma once
// The notice that warns about the system-suspend event (fSuspendMessage): one
// window, shown not modally each time that event is chosen.

#include "platform/shell.h"
#include "platform/top_level_windows.h"

class cSuspendNotice {
public:
    cSuspendNotice(platform::TopLevelWindows& windows, platform::Shell& shell, platform::WindowHandle window)
        : windows_(windows), shell_(shell), window_(window) {}

    // Shows the notice (again), not modally.
    void Show() { windows_.Show(window_); }
    // "Open thread": the forum thread about the suspend event, in the browser.
    void Button1Click();
    // "OK": hides the notice.
    void Button2Click() { windows_.Hide(window_); }

private:
    platform::TopLevelWindows& windows_;
    platform::Shell& shell_;
    platform::WindowHandle window_;
};
