#pragma once
// Reading common controls of another process. Their messages carry pointers,
// which the system does not copy across processes: the records live in a
// buffer allocated inside the control's process.

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

// A row of a report-view list: caption, sub-item texts, image index (-1: none).
struct ListRow {
    std::wstring caption;
    std::vector<std::wstring> subitems;
    int image;
};

std::vector<ListRow> ReadListView(HWND list);
// The captions of the rows that show the image with this index.
std::vector<std::wstring> RowsWithImage(HWND list, int image);

// Tab captions, in order, and the selected tab.
std::vector<std::wstring> TabCaptions(HWND tabs);
int SelectedTab(HWND tabs);
// Clicks the tab as a mouse would; true once it is selected.
bool ClickTab(HWND tabs, int index);

}  // namespace e2e
