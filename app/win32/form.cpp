// The form's window: its procedure, its making and its end, and the dispatch
// of messages to the bound handlers and the forms' hooks.
#include "app/win32/form.h"

#include "app/win32/dpi.h"
#include "app/win32/form_constants.h"

#include <commctrl.h>

#include <exception>
#include <stdexcept>

namespace {

Form* FormOf(HWND window) { return reinterpret_cast<Form*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

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
    RegisterClassOnce(form_constants::kPageClass, PageProcedure);
    CreateWindowExA(table.ex_style | WS_EX_CONTROLPARENT, table.class_name, table.caption, form_constants::kFormStyle,
                    CW_USEDEFAULT, CW_USEDEFAULT, table.client_width, table.client_height, nullptr, nullptr,
                    GetModuleHandleA(nullptr), this);
    if (!window_) throw std::runtime_error(std::string("CreateWindowEx failed: ") + table.class_name);
    page_shown_.assign(table.controls.size(), true);
    combo_items_.resize(table.controls.size());
    dpi_ = WindowDpi(window_);
    CreateFonts();
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0].get()), FALSE);
    // Centred on the screen's work area.
    const RECT frame = FrameForDpi();
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(window_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

// The window goes before the fonts its controls were drawn with.
Form::~Form() {
    if (window_) DestroyWindow(window_);
}

void Form::Show() {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
}

void Form::Bind(control_id control, UINT code, std::function<void()> handler) {
    bindings_.push_back({control.Row(), code, std::move(handler)});
}

void Form::Notify(std::size_t control, UINT code) {
    if (control == kNoRow) return;
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
        if (lparam) Notify(RowIndexOf(reinterpret_cast<HWND>(lparam)), HIWORD(wparam));
        return 0;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lparam);
        const std::size_t control = RowIndexOf(header->hwndFrom);
        if (control != kNoRow && table_.controls[control].kind == ControlKind::Tabs && header->code == TCN_SELCHANGE) {
            SelectPage(SelectedPage());
        }
        Notify(control, header->code);
        return 0;
    }
    case WM_HSCROLL:
        if (lparam && LOWORD(wparam) != TB_ENDTRACK) Notify(RowIndexOf(reinterpret_cast<HWND>(lparam)), kTrackBarMoved);
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
