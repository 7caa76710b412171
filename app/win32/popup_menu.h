#pragma once
// A popup menu built from a table of its items, indexed like a form's
// controls by an enum class of their designer names; each item is bound to
// a click action by its id.

#include "app/win32/form_table.h"
#include "app/win32/owned_handles.h"

#include <windows.h>

#include <functional>
#include <span>
#include <vector>

struct menu_item_row {
    control_id id;
    const char* caption;  // null for a separator
};

class PopupMenu {
public:
    // default_item is drawn bold, as the action of a double-click.
    PopupMenu(std::span<const menu_item_row> items, control_id default_item);

    HMENU Handle() const { return menu_.get(); }
    void Bind(control_id item, std::function<void()> click);
    // Runs as the menu opens.
    void OnPopup(std::function<void()> popup) { on_popup_ = std::move(popup); }
    // Runs the item's click action.
    void Click(control_id item) const;
    // Opens the menu at the screen point for owner and runs the chosen item.
    void Popup(HWND owner, POINT at) const;

private:
    std::span<const menu_item_row> items_;
    owned_menu menu_;
    std::vector<std::function<void()>> clicks_;  // by item index
    std::function<void()> on_popup_;
};
