// The form laid out for its DPI: the fonts, each control's place and the
// window's frame around the designed client area.
#include "app/win32/form.h"

#include "app/win32/dpi.h"
#include "app/win32/form_constants.h"

#include <commctrl.h>

using namespace form_constants;

namespace {

// A drop-down list is its selection field's item height plus this frame.
constexpr int kComboFrame = 6;

SIZE CaptionSize(const char* text, HFONT font) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    RECT rect = {};
    DrawTextA(dc, text[0] ? text : " ", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

}  // namespace

void Form::CreateFonts() {
    struct face_style {
        int height;
        int weight;
        BOOL underline;
    };
    static constexpr face_style kStyles[] = {{11, FW_NORMAL, FALSE}, {24, FW_BOLD, FALSE}, {11, FW_NORMAL, TRUE}};
    for (int i = 0; i < 3; ++i) {
        fonts_[i].reset(CreateFontA(-ScaleForDpi(kStyles[i].height, dpi_), 0, 0, 0, kStyles[i].weight, FALSE,
                                    kStyles[i].underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                    font_face_.c_str()));
    }
}

HFONT Form::FontOf(const control_row& control) const { return fonts_[static_cast<int>(control.font)].get(); }

void Form::ApplyDpi(UINT dpi) {
    dpi_ = dpi;
    CreateFonts();
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_[0].get()), FALSE);
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

void Form::SetFontName(const std::string& face) {
    if (face.empty() || face == font_face_) return;
    font_face_ = face;
    ApplyDpi(dpi_);
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
