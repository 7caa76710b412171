#include "platform/win32/win32_english_message_boxes.h"

#include <windows.h>

namespace platform::win32 {

namespace {

// The hook of the box that is up; boxes are shown one at a time on the GUI thread.
HHOOK g_hook = nullptr;

LRESULT CALLBACK RenameButtons(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_ACTIVATE) {
        // The window being activated is the box; a box without one of the buttons ignores its rename.
        const HWND box = reinterpret_cast<HWND>(wparam);
        SetDlgItemTextA(box, IDOK, "OK");
        SetDlgItemTextA(box, IDYES, "Yes");
        SetDlgItemTextA(box, IDNO, "No");
        return 0;
    }
    return CallNextHookEx(g_hook, code, wparam, lparam);
}

}  // namespace

int EnglishMessageBox(WindowHandle owner, const char* text, const char* title, uint32_t type) {
    // Without the hook the box still shows, with the system's own captions.
    g_hook = SetWindowsHookExA(WH_CBT, RenameButtons, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(static_cast<HWND>(owner), text, title, type);
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    return result;
}

int Win32EnglishMessageBoxes::Show(WindowHandle owner, const std::string& text, const std::string& title,
                                   uint32_t type) {
    return EnglishMessageBox(owner, text.c_str(), title.c_str(), type);
}

static_assert(kMbOk == MB_OK && kMbYesNo == MB_YESNO && kMbIconQuestion == MB_ICONQUESTION);
static_assert(kIdOk == IDOK && kIdYes == IDYES && kIdNo == IDNO);

}  // namespace platform::win32
