#include "tests/win/form_layout.h"

#include "app/win32/dpi.h"

#include <commctrl.h>

#include <string>

namespace {

const char* ClassOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::Tabs: return WC_TABCONTROLA;
    case ControlKind::Page: return "GlimmerboxPage";
    case ControlKind::Button:
    case ControlKind::CheckBox: return "Button";
    case ControlKind::DropDownList: return "ComboBox";
    case ControlKind::ReportList: return WC_LISTVIEWA;
    case ControlKind::TrackBar: return TRACKBAR_CLASSA;
    default: return "Static";
    }
}

std::string WindowText(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The control's rectangle in its parent's client coordinates.
RECT PlaceOf(HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// The page of a control on a tab, else the form.
HWND ParentOf(const Form& form, const control_row& control) {
    for (const control_row& page : form.Table().controls) {
        if (page.kind == ControlKind::Page && page.page == control.page) return form.Control(page.id);
    }
    return form.Handle();
}

}  // namespace

void ExpectControlsAsDesigned(const Form& form) {
    ASSERT_EQ(form.Dpi(), kDesignDpi);
    RECT client = {};
    GetClientRect(form.Handle(), &client);
    EXPECT_EQ(client.right, form.Table().client_width) << form.Table().caption;
    EXPECT_EQ(client.bottom, form.Table().client_height) << form.Table().caption;
    char caption[256] = {};
    GetWindowTextA(form.Handle(), caption, sizeof caption);
    EXPECT_STREQ(caption, form.Table().caption);
    for (const control_row& control : form.Table().controls) {
        SCOPED_TRACE(control.name);
        HWND window = form.Control(control.id);
        ASSERT_TRUE(window);
        char window_class[64] = {};
        GetClassNameA(window, window_class, sizeof window_class);
        EXPECT_STRCASEEQ(window_class, ClassOf(control.kind));
        const LONG style = GetWindowLongA(window, GWL_STYLE);
        if (control.kind == ControlKind::CheckBox) {
            EXPECT_EQ(style & BS_TYPEMASK, BS_AUTOCHECKBOX);
        }
        if (control.kind == ControlKind::Button) {
            EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
        }
        if (control.kind == ControlKind::Page) continue;  // a tab, not a window text
        if (control.kind != ControlKind::Link) {
            EXPECT_EQ(WindowText(window), control.caption);
        }
        const RECT place = PlaceOf(window);
        EXPECT_EQ(place.left, control.left);
        EXPECT_EQ(place.top, control.top);
        if (control.width) {
            EXPECT_EQ(place.right - place.left, control.width);
        }
        if (control.height) {
            EXPECT_EQ(place.bottom - place.top, control.height);
        }
        EXPECT_EQ(GetParent(window), ParentOf(form, control));
    }
}

void ExpectNothingClipped(const Form& form) {
    for (const control_row& control : form.Table().controls) {
        SCOPED_TRACE(control.name);
        HWND window = form.Control(control.id);
        const RECT place = PlaceOf(window);
        RECT parent = {};
        GetClientRect(GetParent(window), &parent);
        EXPECT_GE(place.left, 0);
        EXPECT_GE(place.top, 0);
        EXPECT_LE(place.right, parent.right);
        if (control.kind != ControlKind::DropDownList) {
            EXPECT_LE(place.bottom, parent.bottom);
        }
        const bool has_text = control.kind == ControlKind::Button || control.kind == ControlKind::CheckBox ||
                              control.kind == ControlKind::Label || control.kind == ControlKind::Link;
        const std::string text = WindowText(window);
        if (!has_text || text.empty()) continue;
        // The caption as the control draws it: wrapped within a fixed-size label.
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
        const int width = place.right - place.left;
        RECT needed = {0, 0, width, 0};
        const bool wraps = control.kind == ControlKind::Label && control.width && control.height;
        DrawTextA(dc, text.c_str(), -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        int frame = 0;  // what the control draws besides its text: edges, focus frame, check box
        if (control.kind == ControlKind::Button) frame = ScaleForDpi(6, form.Dpi());
        if (control.kind == ControlKind::CheckBox) frame = ScaleForDpi(13 + 6, form.Dpi());
        EXPECT_LE(needed.right - needed.left + frame, width) << text;
        EXPECT_LE(needed.bottom - needed.top, place.bottom - place.top) << text;
    }
}
