#include "configuration_window.h"

#include "desktop.h"
#include "remote_controls.h"
#include "window_picture.h"

#include <commctrl.h>

#include <cwctype>

namespace e2e {
namespace {

HWND FirstDescendant(HWND parent, const wchar_t* window_class) {
    std::vector<HWND> found = Descendants(parent, window_class);
    return found.empty() ? nullptr : found.front();
}

std::wstring FileNamePart(const std::wstring& caption) {
    std::wstring name;
    for (wchar_t c : caption)
        if (std::iswalnum(c)) name += static_cast<wchar_t>(std::towlower(c));
    return name;
}

// Lets the program paint what the last message changed before the screen is read.
void LetItPaint(HWND window) {
    SendMessageW(window, WM_NULL, 0, 0);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SendMessageW(window, WM_NULL, 0, 0);
    Sleep(300);
}

}  // namespace

ConfigurationWindow::ConfigurationWindow(HWND main_window) : window_(main_window) {}

HWND ConfigurationWindow::Tabs() const { return FirstDescendant(window_, WC_TABCONTROLW); }

HWND ConfigurationWindow::RelationList() const { return FirstDescendant(window_, WC_LISTVIEWW); }

std::vector<std::wstring> ConfigurationWindow::MarkedRows() const { return RowsWithImage(RelationList(), kActiveMark); }

bool ConfigurationWindow::WaitForMarkedRows(const std::vector<std::wstring>& captions, DWORD timeout_ms) const {
    return WaitUntil([&] { return MarkedRows() == captions; }, timeout_ms);
}

std::vector<std::wstring> ConfigurationWindow::SaveTabPictures(const std::wstring& folder,
                                                               const std::wstring& suffix) const {
    std::vector<std::wstring> paths;
    HWND tabs = Tabs();
    if (!tabs) return {};
    const std::vector<std::wstring> captions = TabCaptions(tabs);
    for (size_t index = 0; index < captions.size(); ++index) {
        if (!ClickTab(tabs, static_cast<int>(index))) return {};
        LetItPaint(window_);
        std::wstring path = folder + L"\\" + FileNamePart(captions[index]) + L"-" + suffix + L".png";
        if (!SaveWindowPicture(window_, path)) return {};
        paths.push_back(path);
    }
    if (!captions.empty()) ClickTab(tabs, 0);
    return paths;
}

}  // namespace e2e
