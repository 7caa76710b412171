#pragma once
// A thin layer over Win32 windows. A form is a top-level window built from
// one table of its controls, laid out for the DPI of its monitor. One window
// procedure binds each window to its form and turns raw messages into calls
// on the form; no exception leaves it. Its jobs lie in one file each:
// form.cpp the window and its dispatch, form_controls.cpp the controls'
// making, form_layout.cpp DPI, fonts and placement, form_tabs.cpp the tabs,
// form_views.cpp the controls' state and the model's views.

#include "app/control_views.h"
#include "app/win32/form_table.h"
#include "app/win32/owned_handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// The notification codes a handler binds to, beyond the controls' own
// (BN_CLICKED, CBN_SELCHANGE, STN_CLICKED, STN_DBLCLK, NM_DBLCLK).
inline constexpr UINT kTrackBarMoved = 0xFFFF0001;  // any WM_HSCROLL but TB_ENDTRACK

class Form {
public:
    explicit Form(const form_table& table);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    HWND Handle() const { return window_; }
    const form_table& Table() const { return table_; }
    // The controls are made when the window is first shown, so that a program
    // that stays in the tray never pays for them. Until then the form keeps
    // its fonts, DPI and shown tabs for them; it has no control windows and
    // no selected tab, and the first shown tab is selected when they are made.
    bool ControlsMade() const { return !controls_.empty(); }
    // The control of that id; null before the controls are made.
    HWND Control(control_id control) const;
    // The table row of a control window, or null.
    const control_row* RowOf(HWND control) const;

    // Lays every control out for dpi and sizes the window's client area to match.
    void ApplyDpi(UINT dpi);
    UINT Dpi() const { return dpi_; }
    // Replaces the face of every font of the form.
    void SetFontName(const std::string& face);
    HFONT FontOf(const control_row& control) const;

    void Show();
    void Hide() { ShowWindow(window_, SW_HIDE); }
    bool IsVisible() const { return IsWindowVisible(window_) != FALSE; }
    // Sends WM_CLOSE, as the title bar's close button does.
    void Close() { SendMessageA(window_, WM_CLOSE, 0, 0); }

    // Tabs: a hidden page loses its tab; the tabs keep the table's order.
    void ShowPage(int page, bool shown);
    bool PageShown(int page) const;
    void SelectPage(int page);
    int SelectedPage() const;

    // Control state.
    void SetText(control_id control, const std::string& text);
    std::string Text(control_id control) const;
    void SetEnabled(control_id control, bool enabled);
    void SetShown(control_id control, bool shown);
    void SetChecked(control_id control, bool checked);
    bool Checked(control_id control) const;

    // Views of the model. Setting a control this way reports no change back.
    void ShowCombo(control_id control, const combo_view& view);
    void ShowCheck(control_id control, const check_view& view);
    void ShowBar(control_id bar, control_id label, const bar_view& view);
    // The drop-down list's selected item, -1 for none.
    int Selection(control_id control) const;
    // A track bar's position.
    int Position(control_id control) const;

    // Runs after each notification, close or message that the form handled; not after
    // timers, which render what they change themselves.
    void OnHandled(std::function<void()> handled) { handled_ = std::move(handled); }

protected:
    // Runs handler when the control reports code.
    void Bind(control_id control, UINT code, std::function<void()> handler);

    // Hooks for the forms; the defaults do what a plain window does.
    virtual void OnCloseRequest() { Hide(); }
    virtual void OnShown() {}
    virtual void OnTimer(UINT_PTR /*id*/) {}
    virtual void OnDestroy() {}
    // After a layout for a new DPI or font, for what the table does not hold.
    virtual void OnLaidOut() {}
    // Once the controls exist, for what the table does not hold.
    virtual void OnControlsMade() {}
    // Any other message; a value ends its handling with that result.
    virtual std::optional<LRESULT> OnMessage(UINT /*message*/, WPARAM, LPARAM) { return std::nullopt; }

private:
    friend LRESULT CALLBACK FormProcedure(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK PageProcedure(HWND, UINT, WPARAM, LPARAM);

    struct binding {
        std::size_t control;
        UINT code;
        std::function<void()> handler;
    };

    LRESULT Dispatch(UINT message, WPARAM wparam, LPARAM lparam);
    // Runs the handlers bound to the control's row and code; none for kNoRow.
    void Notify(std::size_t control, UINT code);
    void MakeControls();
    void CreateControls();
    void CreateFonts();
    void LayOutControl(std::size_t index);
    // A control's rectangle in its parent for the form's DPI and fonts.
    RECT Placement(std::size_t index) const;
    void MoveToPlacement(std::size_t index);
    void SetComboItemHeight(std::size_t index);
    RECT FrameForDpi() const;
    void RebuildTabs();
    static constexpr std::size_t kNoRow = static_cast<std::size_t>(-1);
    // The table row of a control window of this form, or kNoRow.
    std::size_t RowIndexOf(HWND control) const;
    int PageRow(int page) const;

    const form_table& table_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    std::string font_face_ = "MS Sans Serif";
    owned_font fonts_[3];
    std::vector<HWND> controls_;  // parallel to table_.controls
    std::vector<binding> bindings_;
    std::vector<bool> page_shown_;  // by table row
    std::vector<std::vector<std::string>> combo_items_;  // by table row: the items shown
    std::function<void()> handled_;
};

// The framework's exception box: one box at a time, with the exception's
// message, while the message loop goes on.
void ShowException(const std::exception* error);
inline constexpr const char* kApplicationTitle = "Glimmerbox";
