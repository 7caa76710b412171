#include "app/win32/popup_menu.h"

namespace {

constexpr UINT kFirstItemId = 1;

}  // namespace

PopupMenu::PopupMenu(std::span<const menu_item_row> items, control_id default_item)
    : items_(items), menu_(CreatePopupMenu()), clicks_(items.size()) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT id = kFirstItemId + static_cast<UINT>(i);
        if (items[i].caption) {
            AppendMenuA(menu_.get(), MF_STRING, id, items[i].caption);
        } else {
            AppendMenuA(menu_.get(), MF_SEPARATOR, id, nullptr);
        }
        if (default_item.Row() == i) SetMenuDefaultItem(menu_.get(), id, FALSE);
    }
}

void PopupMenu::Bind(control_id item, std::function<void()> click) {
    if (item.Row() < clicks_.size()) clicks_[item.Row()] = std::move(click);
}

void PopupMenu::Click(control_id item) const {
    if (item.Row() < clicks_.size() && clicks_[item.Row()]) clicks_[item.Row()]();
}

void PopupMenu::Popup(HWND owner, POINT at) const {
    if (on_popup_) on_popup_();
    // The owner in the foreground lets the menu close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    if (chosen >= kFirstItemId && chosen - kFirstItemId < items_.size()) Click(items_[chosen - kFirstItemId].id);
}
