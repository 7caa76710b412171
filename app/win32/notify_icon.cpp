#include "app/win32/notify_icon.h"

#include <algorithm>
#include <cstring>

// The record as far as the balloon fields: the layout every shell since Windows 2000 reads.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V2_SIZE;
static_assert(sizeof(void*) != 4 || kRecordSize == 488);

cNotifyIcon::cNotifyIcon(const std::string& tip, HICON icon, HWND owner, UINT callback_message) {
    record_.cbSize = kRecordSize;
    record_.hWnd = owner;
    record_.uID = 0;
    record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record_.uCallbackMessage = callback_message;
    Set(icon, tip);
}

void cNotifyIcon::Set(HICON icon, const std::string& tip) {
    record_.hIcon = icon;
    const std::size_t length = std::min(tip.size(), sizeof record_.szTip - 1);
    std::memcpy(record_.szTip, tip.data(), length);
    record_.szTip[length] = '\0';
}

cNotifyIcon::~cNotifyIcon() { Shell_NotifyIconA(NIM_DELETE, &record_); }

int cNotifyIcon::Add() {
    SetLastError(0);
    added_ = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
    return added_ ? 1 : -1;
}

void cNotifyIcon::Modify(HICON icon, const std::string& tip) {
    Set(icon, tip);
    if (added_) Shell_NotifyIconA(NIM_MODIFY, &record_);
}

void cNotifyIcon::Restore(HICON icon, const std::string& tip) {
    Set(icon, tip);
    if (!added_ || !Shell_NotifyIconA(NIM_MODIFY, &record_)) Add();
}

LRESULT cNotifyIcon::HandleMessage(WPARAM, LPARAM lparam) {
    switch (static_cast<UINT>(lparam)) {
    case WM_LBUTTONDBLCLK:
        if (default_item_) {
            default_item_();
        } else {
            if (!IsWindowVisible(record_.hWnd)) ShowWindow(record_.hWnd, SW_SHOW);
            SetForegroundWindow(record_.hWnd);
        }
        return 0;
    case WM_RBUTTONUP:
        if (popup_menu_) {
            POINT cursor = {};
            GetCursorPos(&cursor);
            popup_menu_->Popup(record_.hWnd, cursor);
        }
        return 0;
    default: return 0;
    }
}

UINT cNotifyIcon::TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageA("TaskbarCreated");
    return message;
}
