// The configuration window's relation list: its columns and marks, their
// widths for the DPI, and the rows, marks and selection of the model's view.
#include "app/win32/main_form.h"

#include "app/win32/dpi.h"
#include "app/win32/main_form_layout.h"

#include <algorithm>
#include <iterator>

using namespace main_layout;
using enum MainControl;

void TfMain::OnControlsMade() {
    HWND list = Control(ListView1);
    SendMessageA(list, LVM_SETIMAGELIST, LVSIL_SMALL, reinterpret_cast<LPARAM>(ImageList1.get()));
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = kColumns[i].format;
        column.pszText = const_cast<char*>(kColumns[i].caption);
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    OnLaidOut();
}

int TfMain::SelectedRow() const {
    return static_cast<int>(SendMessageA(Control(ListView1), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

void TfMain::OnLaidOut() {
    HWND list = Control(ListView1);
    if (!list) return;  // no controls yet
    for (int i = 1; i < static_cast<int>(std::size(kColumns)); ++i) {
        SendMessageA(list, LVM_SETCOLUMNWIDTH, i, ScaleForDpi(kColumns[i].width, Dpi()));
    }
    SizeEventColumn();
}

// The event column takes what the other columns leave of the list, up to its maximum.
void TfMain::SizeEventColumn() {
    HWND list = Control(ListView1);
    RECT client = {};
    GetClientRect(list, &client);
    int rest = client.right;
    for (int i = 1; i < static_cast<int>(std::size(kColumns)); ++i) {
        rest -= static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, i, 0));
    }
    SendMessageA(list, LVM_SETCOLUMNWIDTH, 0, std::min(rest, ScaleForDpi(kMaxFillWidth, Dpi())));
}

void TfMain::RenderRelationList(const main_window_view& view) {
    HWND list = Control(ListView1);
    if (rows_generation_ != view.rows_generation) {
        rows_generation_ = view.rows_generation;
        marks_generation_ = view.marks_generation;
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
        SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
        for (int row = 0; row < static_cast<int>(view.rows.size()); ++row) {
            const relation_row& relation = view.rows[row];
            LVITEMA item = {};
            item.mask = LVIF_TEXT | LVIF_IMAGE;
            item.iItem = row;
            item.iImage = relation.marked ? 0 : -1;
            item.pszText = const_cast<char*>(relation.event.c_str());
            SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            const std::string* cells[] = {&relation.led, &relation.state, &relation.priority};
            for (int column = 1; column <= 3; ++column) {
                item.mask = LVIF_TEXT;
                item.iSubItem = column;
                item.pszText = const_cast<char*>(cells[column - 1]->c_str());
                SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
            }
        }
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        SizeEventColumn();  // a scroll bar may have come or gone
        InvalidateRect(list, nullptr, TRUE);
    }
    if (marks_generation_ != view.marks_generation) {
        marks_generation_ = view.marks_generation;
        for (int row = 0; row < static_cast<int>(view.rows.size()); ++row) {
            LVITEMA item = {};
            item.mask = LVIF_IMAGE;
            item.iItem = row;
            item.iImage = view.rows[row].marked ? 0 : -1;
            SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        }
    }
    if (selection_generation_ != view.selection_generation) {
        selection_generation_ = view.selection_generation;
        LVITEMA item = {};
        item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
        SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
        if (view.selected_row >= 0) {
            item.state = LVIS_SELECTED | LVIS_FOCUSED;
            SendMessageA(list, LVM_SETITEMSTATE, view.selected_row, reinterpret_cast<LPARAM>(&item));
            SendMessageA(list, LVM_ENSUREVISIBLE, view.selected_row, FALSE);
        }
        if (view.enabled) SetFocus(list);
    }
}
