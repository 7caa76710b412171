#include "app/win32/english_message_box.h"

namespace {

// Installed only while one box is up, on the thread that shows it.
HHOOK caption_hook = nullptr;

LRESULT CALLBACK SetEnglishCaptions(int code, WPARAM wparam, LPARAM lparam) {
    if (code != HCBT_ACTIVATE) return CallNextHookEx(caption_hook, code, wparam, lparam);
    // The window being activated is the box; a button it lacks is left alone.
    HWND box = reinterpret_cast<HWND>(wparam);
    struct caption {
        int id;
        const char* text;
    };
    static constexpr caption kCaptions[] = {{IDOK, "OK"}, {IDYES, "Yes"}, {IDNO, "No"}};
    for (const caption& button : kCaptions) {
        if (HWND control = GetDlgItem(box, button.id)) SetWindowTextA(control, button.text);
    }
    return 0;
}

}  // namespace

int EnglishMessageBox(HWND owner, const std::string& text, const std::string& title, UINT type) {
    caption_hook = SetWindowsHookExA(WH_CBT, SetEnglishCaptions, nullptr, GetCurrentThreadId());
    const int result = MessageBoxA(owner, text.c_str(), title.c_str(), type);
    if (caption_hook) UnhookWindowsHookEx(caption_hook);
    caption_hook = nullptr;
    return result;
}
