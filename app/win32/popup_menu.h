#pragma once
// A popup menu built from a table of its items, each bound to a click action
// by its designer name.

#include <windows.h>

#include <functional>
#include <span>
#include <string_view>
#include <vector>

struct menu_item_row {
    const char* name;
    const char* caption;  // null for a separator
};

class PopupMenu {
public:
    // default_item is drawn bold, as the action of a double-click.
    PopupMenu(std::span<const menu_item_row> items, std::string_view default_item);
    ~PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    HMENU Handle() const { return menu_; }
    void Bind(std::string_view item, std::function<void()> click);
    // Runs as the menu opens.
    void OnPopup(std::function<void()> popup) { on_popup_ = std::move(popup); }
    // Runs the item's click action.
    void Click(std::string_view item) const;
    // Opens the menu at the screen point for owner and runs the chosen item.
    void Popup(HWND owner, POINT at) const;

private:
    std::span<const menu_item_row> items_;
    HMENU menu_;
    std::vector<std::function<void()>> clicks_;  // by item index
    std::function<void()> on_popup_;
};
