// The form's tabs: which pages have a tab, and which one is selected.
#include "app/win32/form.h"

#include <commctrl.h>

int Form::PageRow(int page) const {
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        if (table_.controls[i].kind == ControlKind::Page && table_.controls[i].page == page) return static_cast<int>(i);
    }
    return -1;
}

void Form::ShowPage(int page, bool shown) {
    const int row = PageRow(page);
    if (row < 0 || page_shown_[row] == shown) return;
    page_shown_[row] = shown;
    if (ControlsMade()) RebuildTabs();
}

bool Form::PageShown(int page) const {
    const int row = PageRow(page);
    return row >= 0 && page_shown_[row];
}

void Form::RebuildTabs() {
    for (std::size_t t = 0; t < table_.controls.size(); ++t) {
        if (table_.controls[t].kind != ControlKind::Tabs) continue;
        const int selected = SelectedPage();
        HWND tab_control = controls_[t];
        SendMessageA(tab_control, TCM_DELETEALLITEMS, 0, 0);
        int item = 0, select_item = 0;
        for (std::size_t i = t + 1; i < table_.controls.size(); ++i) {
            const control_row& page = table_.controls[i];
            if (page.kind != ControlKind::Page || !page_shown_[i]) continue;
            TCITEMA tab = {};
            tab.mask = TCIF_TEXT | TCIF_PARAM;
            tab.pszText = const_cast<char*>(page.caption);
            tab.lParam = page.page;
            SendMessageA(tab_control, TCM_INSERTITEMA, item, reinterpret_cast<LPARAM>(&tab));
            if (page.page == selected) select_item = item;
            ++item;
        }
        SendMessageA(tab_control, TCM_SETCURSEL, select_item, 0);
        SelectPage(SelectedPage());
    }
}

int Form::SelectedPage() const {
    if (!ControlsMade()) return kNoPage;
    for (std::size_t t = 0; t < table_.controls.size(); ++t) {
        if (table_.controls[t].kind != ControlKind::Tabs) continue;
        const LRESULT item = SendMessageA(controls_[t], TCM_GETCURSEL, 0, 0);
        TCITEMA tab = {};
        tab.mask = TCIF_PARAM;
        if (item < 0 || !SendMessageA(controls_[t], TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&tab))) return kNoPage;
        return static_cast<int>(tab.lParam);
    }
    return kNoPage;
}

void Form::SelectPage(int page) {
    if (!ControlsMade()) return;
    for (std::size_t t = 0; t < table_.controls.size(); ++t) {
        if (table_.controls[t].kind != ControlKind::Tabs) continue;
        const int count = static_cast<int>(SendMessageA(controls_[t], TCM_GETITEMCOUNT, 0, 0));
        for (int item = 0; item < count; ++item) {
            TCITEMA tab = {};
            tab.mask = TCIF_PARAM;
            SendMessageA(controls_[t], TCM_GETITEMA, item, reinterpret_cast<LPARAM>(&tab));
            if (tab.lParam == page) SendMessageA(controls_[t], TCM_SETCURSEL, item, 0);
        }
    }
    const int selected = SelectedPage();
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        if (table_.controls[i].kind == ControlKind::Page) {
            ShowWindow(controls_[i], table_.controls[i].page == selected ? SW_SHOW : SW_HIDE);
        }
    }
}
