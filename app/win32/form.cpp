#include "app/win32/form.h"

#include "app/win32/dpi.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

namespace {

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr int kFirstControlId = 1000;
constexpr const char* kPageClass = "GlimmerboxPage";
constexpr int kDropDownRows = 15;
constexpr int kTrackBarMax = 100;
constexpr int kTrackBarTickEvery = 5;
// A drop-down list is its selection field's item height plus this frame.
constexpr int kComboFrame = 6;

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
    case ControlKind::ReportList:
        return {WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_NOSORTHEADER | WS_TABSTOP,
                WS_EX_CLIENTEDGE};
    case ControlKind::TrackBar: return {TRACKBAR_CLASSA, TBS_HORZ | TBS_BOTTOM | TBS_AUTOTICKS | WS_TABSTOP, 0};
    case ControlKind::HotSpot: return {"STATIC", SS_NOTIFY, 0};
    case ControlKind::Link: return {"STATIC", SS_NOTIFY, 0};
    }
    return {"STATIC", 0, 0};
}

Form* FormOf(HWND window) { return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

SIZE CaptionSize(const char* text, HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect = {};
    DrawTextA(dc, text[0] ? text : " ", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void RegisterClassOnce(const char* name, WNDPROC procedure) {
    WNDCLASSA existing;
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &existing)) return;
    WNDCLASSA window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleA(nullptr);
    window_class.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszClassName = name;
    RegisterClassA(&window_class);
}

}  // namespace

void ShowException(const std::exception* error) {
    static bool showing = false;  // a fault that repeats while its box is up is shown once
    if (showing) return;
    showing = true;
    MessageBoxA(nullptr, error ? error->what() : "", kApplicationTitle, MB_OK | MB_ICONERROR);
    showing = false;
}

LRESULT CALLBACK FormProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* form = static_cast<Form*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    Form* form = FormOf(window);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        if (form) form->window_ = nullptr;
        form = nullptr;
    }
    if (!form) return DefWindowProcA(window, message, wparam, lparam);
    try {
        return form->Dispatch(message, wparam, lparam);
    } catch (const std::exception& error) {
        ShowException(&error);
    } catch (...) {
        ShowException(nullptr);
    }
    return 0;
}

// A page passes its controls' notifications on to the form.
LRESULT CALLBACK PageProcedure(HWND page, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_HSCROLL:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return SendMessageA(GetParent(page), message, wparam, lparam);
    default:
        return DefWindowProcA(page, message, wparam, lparam);
    }
}

Form::Form(const form_table& table) : table_(table) {
    static const bool controls_registered = [] {
        const INITCOMMONCONTROLSEX classes = {sizeof classes,
                                              ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
        return InitCommonControlsEx(&classes) != FALSE;
    }();
    (void)controls_registered;
    RegisterClassOnce(table.class_name, FormProcedure);
    RegisterClassOnce(kPageClass, PageProcedure);
    CreateWindowExA(table.ex_style | WS_EX_CONTROLPARENT, table.class_name, table.caption, kFormStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, table.client_width, table.client_height, nullptr, nullptr, GetModuleHandleA(nullptr),
                    this);
    if (!window_) throw std::runtime_error(std::string("CreateWindowEx failed: ") + table.class_name);
    page_shown_.assign(table.controls.size(), true);
    combo_items_.resize(table.controls.size());
    dpi_ = WindowDpi(window_);
    CreateFonts();
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), FALSE);
    // Centred on the screen's work area.
    const RECT frame = FrameForDpi();
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

Form::~Form() {
    if (window_) DestroyWindow(window_);
    for (HFONT font : fonts_) {
        if (font) DeleteObject(font);
    }
}

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

void Form::CreateFonts() {
    for (HFONT& font : fonts_) {
        if (font) DeleteObject(font);
    }
    struct face_style {
        int height;
        int weight;
        BOOL underline;
    };
    static constexpr face_style kStyles[] = {{11, FW_NORMAL, FALSE}, {24, FW_BOLD, FALSE}, {11, FW_NORMAL, TRUE}};
    for (int i = 0; i < 3; ++i) {
        fonts_[i] = CreateFontA(-ScaleForDpi(kStyles[i].height, dpi_), 0, 0, 0, kStyles[i].weight, FALSE,
                                kStyles[i].underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font_face_.c_str());
    }
}

HFONT Form::FontOf(const control_row& control) const { return fonts_[static_cast<int>(control.font)]; }

void Form::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    CreateFonts();
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0]), FALSE);
    for (std::size_t i = 0; i < controls_.size(); ++i) LayOutControl(i);
    const RECT frame = FrameForDpi();
    SetWindowPos(window_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    OnLaidOut();
    InvalidateRect(window_, nullptr, TRUE);
}

RECT Form::FrameForDpi() const {
    // The frame is drawn for the window's own DPI, which a layout for another DPI does not change.
    return WindowRectForClient(ScaleForDpi(table_.client_width, dpi_), ScaleForDpi(table_.client_height, dpi_),
                               kFormStyle, table_.ex_style | WS_EX_CONTROLPARENT, WindowDpi(window_));
}

void Form::LayOutControl(std::size_t index) {
    SendMessageA(controls_[index], WM_SETFONT, reinterpret_cast<WPARAM>(FontOf(table_.controls[index])), TRUE);
    if (table_.controls[index].kind == ControlKind::DropDownList) SetComboItemHeight(index);
    MoveToPlacement(index);
}

void Form::MoveToPlacement(std::size_t index) {
    const RECT place = Placement(index);
    SetWindowPos(controls_[index], nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT Form::Placement(std::size_t index) const {
    const control_row& control = table_.controls[index];
    if (control.kind == ControlKind::Page) {
        // A page covers the display area of the tab control, which lies before it in the table.
        int tabs = static_cast<int>(index);
        while (tabs > 0 && table_.controls[tabs].kind != ControlKind::Tabs) --tabs;
        RECT area = {};
        GetWindowRect(controls_[tabs], &area);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&area), 2);
        SendMessageA(controls_[tabs], TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
        return area;
    }
    // Edges are scaled rather than sizes, so that controls which meet at 96 dpi still meet.
    RECT place = {ScaleForDpi(control.left, dpi_), ScaleForDpi(control.top, dpi_),
                  ScaleForDpi(control.left + control.width, dpi_), ScaleForDpi(control.top + control.height, dpi_)};
    if (control.width == 0 || control.height == 0) {
        // The caption it shows now; before the control exists, the table's.
        char text[256] = {};
        if (controls_[index]) GetWindowTextA(controls_[index], text, sizeof text);
        const SIZE caption = CaptionSize(controls_[index] ? text : control.caption, FontOf(control));
        if (control.width == 0) place.right = place.left + caption.cx;
        if (control.height == 0) place.bottom = place.top + caption.cy;
    }
    // A drop-down list's window includes its open list.
    if (control.kind == ControlKind::DropDownList)
        place.bottom = place.top + (place.bottom - place.top) * (kDropDownRows + 1);
    return place;
}

void Form::SetComboItemHeight(std::size_t index) {
    const control_row& control = table_.controls[index];
    const int height = ScaleForDpi(control.top + control.height, dpi_) - ScaleForDpi(control.top, dpi_);
    SendMessageA(controls_[index], CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), height - kComboFrame);
}

void Form::SetFontName(const std::string& face) {
    if (face.empty() || face == font_face_) return;
    font_face_ = face;
    ApplyDpi(dpi_);
}

void Form::Show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

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

int Form::IndexOf(std::string_view name) const {
    for (std::size_t i = 0; i < table_.controls.size(); ++i) {
        if (name == table_.controls[i].name) return static_cast<int>(i);
    }
    return -1;
}

int Form::IndexOf(HWND control) const {
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == control) return static_cast<int>(i);
    }
    return -1;
}

HWND Form::Control(std::string_view name) const {
    const int index = IndexOf(name);
    return index < 0 || !ControlsMade() ? nullptr : controls_[index];
}

const control_row* Form::RowOf(HWND control) const {
    const int index = IndexOf(control);
    return index < 0 ? nullptr : &table_.controls[index];
}

void Form::SetText(std::string_view control, const std::string& text) {
    // Unchanged texts are not set again, which would redraw them every tick.
    if (Text(control) != text) SetWindowTextA(Control(control), text.c_str());
}

std::string Form::Text(std::string_view control) const {
    HWND window = Control(control);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form::SetEnabled(std::string_view control, bool enabled) { EnableWindow(Control(control), enabled); }

void Form::SetShown(std::string_view control, bool shown) { ShowWindow(Control(control), shown ? SW_SHOW : SW_HIDE); }

void Form::SetChecked(std::string_view control, bool checked) {
    SendMessageA(Control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Form::Checked(std::string_view control) const {
    return SendMessageA(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::ShowCombo(std::string_view control, const combo_view& view) {
    const int index = IndexOf(control);
    HWND combo = Control(control);
    if (!combo) return;
    if (combo_items_[index] != view.items) {
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : view.items) {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        combo_items_[index] = view.items;
    }
    if (Selection(control) != view.selected) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(view.selected), 0);
    SetEnabled(control, view.enabled);
}

int Form::Selection(std::string_view control) const {
    return static_cast<int>(SendMessageA(Control(control), CB_GETCURSEL, 0, 0));
}

void Form::ShowCheck(std::string_view control, const check_view& view) {
    SetChecked(control, view.checked);
    SetEnabled(control, view.enabled);
}

void Form::ShowBar(std::string_view bar, std::string_view label, const bar_view& view) {
    HWND window = Control(bar);
    if (SendMessageA(window, TBM_GETRANGEMAX, 0, 0) != view.maximum) {
        SendMessageA(window, TBM_SETRANGEMAX, TRUE, view.maximum);
    }
    if (Position(bar) != view.position) SendMessageA(window, TBM_SETPOS, TRUE, view.position);
    SetEnabled(bar, view.enabled);
    SetShown(bar, view.visible);
    SetText(label, view.label);
    SetEnabled(label, view.label_enabled);
    SetShown(label, view.label_visible);
}

int Form::Position(std::string_view control) const {
    return static_cast<int>(SendMessageA(Control(control), TBM_GETPOS, 0, 0));
}

void Form::Bind(std::string_view control, UINT code, std::function<void()> handler) {
    bindings_.push_back({IndexOf(control), code, std::move(handler)});
}

void Form::Notify(int control, UINT code) {
    if (control < 0) return;
    for (const binding& bound : bindings_) {
        if (bound.control == control && bound.code == code) {
            bound.handler();
            if (handled_) handled_();
        }
    }
}

LRESULT Form::Dispatch(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_COMMAND:
        if (lparam) Notify(IndexOf(reinterpret_cast<HWND>(lparam)), HIWORD(wparam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        const int control = IndexOf(header->hwndFrom);
        if (control >= 0 && table_.controls[control].kind == ControlKind::Tabs && header->code == TCN_SELCHANGE) {
            SelectPage(SelectedPage());
        }
        Notify(control, header->code);
        return 0;
    }
    case WM_HSCROLL:
        if (lparam && LOWORD(wparam) != TB_ENDTRACK) Notify(IndexOf(reinterpret_cast<HWND>(lparam)), kTrackBarMoved);
        return 0;
    case WM_CTLCOLORSTATIC: {
        const control_row* control = RowOf(reinterpret_cast<HWND>(lparam));
        if (!control || control->kind != ControlKind::Link) break;
        HDC dc = reinterpret_cast<HDC>(wparam);
        SetTextColor(dc, RGB(0, 0, 255));
        SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_SETCURSOR: {
        const control_row* control = RowOf(reinterpret_cast<HWND>(wparam));
        if (!control || control->kind != ControlKind::Link) break;
        SetCursor(LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
        return TRUE;
    }
    case WM_CLOSE:
        OnCloseRequest();
        if (handled_) handled_();
        return 0;
    case WM_TIMER: OnTimer(wparam); return 0;
    case WM_SHOWWINDOW:
        if (!wparam) break;
        if (!ControlsMade()) {
            MakeControls();
            if (handled_) handled_();  // draws the new controls before the window appears
        }
        OnShown();
        break;
    case WM_DPICHANGED: {
        ApplyDpi(HIWORD(wparam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lparam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                     suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY: OnDestroy(); break;
    default: break;
    }
    if (const std::optional<LRESULT> result = OnMessage(message, wparam, lparam)) {
        if (handled_) handled_();
        return *result;
    }
    return DefWindowProcA(window_, message, wparam, lparam);
}
