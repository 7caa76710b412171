#include "tray_program.h"

#include "desktop.h"

#include <shellapi.h>

namespace e2e {

HWND FindMainWindow(DWORD process_id) { return FindTopLevel(process_id, kMainWindowClass); }

bool DoubleClickTrayIcon(HWND main_window) {
    PostMessageW(main_window, kNotifyIconMessage, 0, WM_LBUTTONDBLCLK);
    return WaitUntil([&] { return IsWindowVisible(main_window) != FALSE; });
}

bool ChooseExitFromTrayMenu(HWND main_window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(main_window, &process_id);
    PostMessageW(main_window, kNotifyIconMessage, 0, WM_RBUTTONUP);
    HWND menu = nullptr;
    // The popup menu's window class is the system's "#32768".
    if (!WaitUntil([&] {
            menu = FindTopLevel(process_id, L"#32768");
            return menu && IsWindowVisible(menu);
        }))
        return false;
    // Up from no selection lands on the last item.
    for (WPARAM key : {VK_UP, VK_RETURN}) {
        PostMessageW(menu, WM_KEYDOWN, key, 0);
        PostMessageW(menu, WM_KEYUP, key, 0);
    }
    return true;
}

namespace {

NOTIFYICONDATAW IconOf(HWND main_window) {
    NOTIFYICONDATAW icon{};
    icon.cbSize = sizeof icon;
    icon.hWnd = main_window;
    icon.uID = 0;
    return icon;
}

}  // namespace

bool TrayIconShown(HWND main_window) {
    NOTIFYICONDATAW icon = IconOf(main_window);
    return Shell_NotifyIconW(NIM_MODIFY, &icon) != FALSE;
}

bool RemoveTrayIcon(HWND main_window) {
    NOTIFYICONDATAW icon = IconOf(main_window);
    return Shell_NotifyIconW(NIM_DELETE, &icon) != FALSE;
}

ProgramRun::ProgramRun(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder) {
    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process_))
        process_ = {};
}

ProgramRun::~ProgramRun() {
    if (!Started()) return;
    if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

std::optional<DWORD> ProgramRun::WaitForExit(DWORD timeout_ms) {
    DWORD exit_code = 0;
    if (!Started() || WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process_.hProcess, &exit_code))
        return std::nullopt;
    return exit_code;
}

void ProgramRun::Kill() {
    if (!Started()) return;
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, INFINITE);
}

HWND ProgramRun::WaitUntilInTray() {
    return e2e::WaitUntilInTray(Id(), [this] { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; });
}

HWND WaitUntilInTray(DWORD process_id, const std::function<bool()>& ended) {
    // A cold Wine process on a busy machine, and the probe of every serial
    // port the host has, take seconds.
    constexpr DWORD kStartPatienceMs = 30000;
    HWND window = nullptr;
    auto up = [&] { return (window = FindMainWindow(process_id)) != nullptr && TrayIconShown(window); };
    WaitUntil([&] { return up() || (ended && ended()); }, kStartPatienceMs);
    return up() ? window : nullptr;
}

}  // namespace e2e
