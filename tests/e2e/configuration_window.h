#pragma once
// The program's configuration window read from outside: its tabs, the
// relation list and the marks of the active relations.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// Image 0 of the relation list: the check mark of an active relation.
inline constexpr int kActiveMark = 0;

class ConfigurationWindow {
public:
    explicit ConfigurationWindow(HWND main_window);

    HWND Window() const { return window_; }
    HWND Tabs() const;
    HWND RelationList() const;
    // Captions of the rows that carry the check mark.
    std::vector<std::wstring> MarkedRows() const;
    // Waits until exactly these rows carry the mark, in list order.
    bool WaitForMarkedRows(const std::vector<std::wstring>& captions, DWORD timeout_ms) const;
    // Shows each tab in turn and saves its picture as folder\<tab>-<suffix>.png
    // (the tab's caption in lower case, letters and digits only); ends on the
    // first tab again. The paths written, or none when a step failed.
    std::vector<std::wstring> SaveTabPictures(const std::wstring& folder, const std::wstring& suffix) const;

private:
    HWND window_;
};

}  // namespace e2e
