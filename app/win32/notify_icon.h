#pragma once
// The program's icon in the notification area, through which the hidden
// main window is reached: a double-click runs the default item, a right-click
// opens the popup menu.

#include "app/win32/popup_menu.h"

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

class cNotifyIcon {
public:
    // Fills the icon record; shows nothing yet. The tip is cut to 127 characters.
    cNotifyIcon(const std::string& tip, HICON icon, HWND owner, UINT callback_message);
    // Removes the icon from the notification area.
    ~cNotifyIcon();
    cNotifyIcon(const cNotifyIcon&) = delete;
    cNotifyIcon& operator=(const cNotifyIcon&) = delete;

    void SetPopupMenu(const PopupMenu* menu) { popup_menu_ = menu; }
    void SetDefaultItem(std::function<void()> click) { default_item_ = std::move(click); }

    // Asks the shell to add the icon: 1 on success, -1 on failure.
    int Add();
    // Shows another icon and tip: the record keeps them for every later add, and an
    // added icon is changed at once (NIM_MODIFY). The icon must live while shown.
    void Modify(HICON icon, const std::string& tip);
    // Brings the icon back with this icon and tip where the shell may have lost it
    // (a new notification area, a resume): changed where it still is, else added.
    void Restore(HICON icon, const std::string& tip);
    // Whether the last Add succeeded.
    bool Added() const { return added_; }
    // The callback message: lparam holds the mouse message. Returns the message result.
    LRESULT HandleMessage(WPARAM wparam, LPARAM lparam);

    // The shell's record in its ANSI layout up to the balloon fields.
    const NOTIFYICONDATAA& Record() const { return record_; }
    // The message Explorer broadcasts when the notification area is created anew.
    static UINT TaskbarCreatedMessage();

private:
    void Set(HICON icon, const std::string& tip);

    NOTIFYICONDATAA record_ = {};
    const PopupMenu* popup_menu_ = nullptr;
    std::function<void()> default_item_;
    bool added_ = false;
};
