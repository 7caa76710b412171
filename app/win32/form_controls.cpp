// The form's controls: the window class and styles of each kind, their
// making from the table, and finding them by id or by window.
#include "app/win32/form.h"

#include "app/win32/form_constants.h"

#include <commctrl.h>

#include <stdexcept>

using namespace form_constants;

namespace {

constexpr int kTrackBarMax = 100;
constexpr int kTrackBarTickEvery = 5;

struct kind_class {
    const char* window_class;
    DWORD style;
    DWORD ex_style;
};

kind_class ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Tabs: return {WC_TABCONTROLA, WS_TABSTOP | WS_CLIPSIBLINGS, 0};
    case ControlKind::Page: return {kPageClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
    case ControlKind::Button: return {"BUTTON", BS_PUSHBUTTON | WS_TABSTOP, 0};
    case ControlKind::CheckBox: return {"BUTTON", BS_AUTOCHECKBOX | WS_TABSTOP, 0};
    case ControlKind::Label: return {"STATIC", SS_LEFT, 0};
    case ControlKind::FramedText: return {"STATIC", SS_CENTER | SS_CENTERIMAGE | SS_SUNKEN, 0};
    case ControlKind::DropDownList: return {"COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 0};
    // The image lists a form gives a report list stay the form's: the list does not free them.
    case ControlKind::ReportList:
        return {WC_LISTVIEWA,
                LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | LVS_SHAREIMAGELISTS | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::TrackBar: return {TRACKBAR_CLASSA, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0};
    case ControlKind::HotSpot: return {"STATIC", SS_NOTIFY, 0};
    case ControlKind::Link: return {"STATIC", SS_NOTIFY, 0};
    }
    return {"STATIC", 0, 0};
}

}  // namespace

void Form::MakeControls() {
    CreateControls();
    OnControlsMade();
}

// Every control is made in its place for the window's DPI: moving each one
// afterwards would cost as much again.
void Form::CreateControls() {
    controls_.resize(table_.controls.size());
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        const control_row& control = table_.controls[i];
        const kind_class kind = ClassOf(control.kind);
        HWND parent = window_;
        if (control.kind != ControlKind::Page && control.page != kNoPage) parent = controls_[PageRow(control.page)];
        const DWORD shown = control.kind == ControlKind::Page ? 0 : WS_VISIBLE;
        // A page is placed once its tab control has its tabs, which take their part of it.
        const RECT place = control.kind == ControlKind::Page ? RECT{} : Placement(i);
        controls_[i] = CreateWindowExA(kind.ex_style, kind.window_class, control.caption,
                                       WS_CHILD | shown | kind.style | control.style, place.left, place.top,
                                       place.right - place.left, place.bottom - place.top, parent,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstControlId + i)),
                                       GetModuleHandleA(nullptr), nullptr);
        if (!controls_[i]) throw std::runtime_error(std::string("CreateWindowEx failed: ") + control.name);
        SendMessageA(controls_[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(control)), FALSE);
        switch (control.kind) {
        case ControlKind::TrackBar:
            SendMessageA(controls_[i], TBM_SETRANGE, FALSE, MAKELPARAM(0, kTrackBarMax));
            SendMessageA(controls_[i], TBM_SETTICFREQ, kTrackBarTickEvery, 0);
            break;
        case ControlKind::DropDownList:
            SendMessageA(controls_[i], CB_SETMINVISIBLE, kDropDownRows, 0);
            SetComboItemHeight(i);
            break;
        case ControlKind::ReportList:
            SendMessageA(controls_[i], LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                         LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
            break;
        default: break;
        }
    }
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        // Pages lie above the tab control, which paints around them.
        if (table_.controls[i].kind == ControlKind::Tabs) {
            SetWindowPos(controls_[i], HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            RebuildTabs();
        }
    }
    for (std::size_t i = 0; i < table_.controls.size(); ++i)
        if (table_.controls[i].kind == ControlKind::Page) MoveToPlacement(i);
}

HWND Form::Control(control_id control) const {
    return ControlsMade() && control.Row() < controls_.size() ? controls_[control.Row()] : nullptr;
}

std::size_t Form::RowIndexOf(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control) return i;
    }
    return kNoRow;
}

const control_row* Form::RowOf(HWND control) const {
    const std::size_t row = RowIndexOf(control);
    return row == kNoRow ? nullptr : &table_.controls[row];
}
