// The state of the form's controls, and the views of the model drawn into
// them: drop-down lists, check boxes and bars with their labels.
#include "app/win32/form.h"

#include <commctrl.h>

void Form::SetText(control_id control, const std::string& text) {
    // Unchanged texts are not set again, which would redraw them every tick.
    if (Text(control) != text) SetWindowTextA(Control(control), text.c_str());
}

std::string Form::Text(control_id control) const {
    HWND window = Control(control);
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void Form::SetEnabled(control_id control, bool enabled) { EnableWindow(Control(control), enabled); }

void Form::SetShown(control_id control, bool shown) { ShowWindow(Control(control), shown ? SW_SHOW : SW_HIDE); }

void Form::SetChecked(control_id control, bool checked) {
    SendMessageA(Control(control), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Form::Checked(control_id control) const {
    return SendMessageA(Control(control), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::ShowCombo(control_id control, const combo_view& view) {
    HWND combo = Control(control);
    if (!combo) return;
    std::vector<std::string>& shown = combo_items_[control.Row()];
    if (shown != view.items) {
        SendMessageA(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : view.items) {
            SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
        shown = view.items;
    }
    if (Selection(control) != view.selected) SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(view.selected), 0);
    SetEnabled(control, view.enabled);
}

int Form::Selection(control_id control) const {
    return static_cast<int>(SendMessageA(Control(control), CB_GETCURSEL, 0, 0));
}

void Form::ShowCheck(control_id control, const check_view& view) {
    SetChecked(control, view.checked);
    SetEnabled(control, view.enabled);
}

void Form::ShowBar(control_id bar, control_id label, const bar_view& view) {
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

int Form::Position(control_id control) const {
    return static_cast<int>(SendMessageA(Control(control), TBM_GETPOS, 0, 0));
}
