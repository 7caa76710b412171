#include "app/win32/popup_menu.h"

namespace {

constexpr UINT kFirstItemId = 1;

}  // namespace

PopupMenu::PopupMenu(std::span<const menu_item_row> items, std::string_view default_item)
    : items_(items), menu_(CreatePopupMenu()), clicks_(items.size()) {
    for (std::size_t i = 0; i < items.size(); ++i) {
        const UINT id = kFirstItemId + static_cast<UINT>(i);
        if (items[i].caption) {
            AppendMenuA(menu_, MF_STRING, id, items[i].caption);
        } else {
            AppendMenuA(menu_, MF_SEPARATOR, id, nullptr);
        }
        if (default_item == items[i].name) SetMenuDefaultItem(menu_, id, FALSE);
    }
}

PopupMenu::~PopupMenu() { DestroyMenu(menu_); }

void PopupMenu::Bind(std::string_view item, std::function<void()> click) {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (item == items_[i].name) clicks_[i] = std::move(click);
    }
}

void PopupMenu::Click(std::string_view item) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (item == items_[i].name && clicks_[i]) clicks_[i]();
    }
}

void PopupMenu::Popup(HWND owner, POINT at) const {
    if (on_popup_) on_popup_();
    // The owner in the foreground lets the menu close when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const UINT chosen = static_cast<UINT>(
        TrackPopupMenuEx(menu_, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    if (chosen >= kFirstItemId && chosen - kFirstItemId < items_.size()) Click(items_[chosen - kFirstItemId].name);
}
