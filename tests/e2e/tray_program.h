#pragma once
// Glimmerbox.exe seen from outside: started as a process of its own, reached
// as a person reaches it, through its tray icon's messages and its windows.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace e2e {

inline constexpr wchar_t kMainWindowClass[] = L"TfMain";
inline constexpr wchar_t kMainWindowCaption[] = L"Glimmerbox configuration";
// The tray icon's callback message; its lParam names the mouse event.
inline constexpr UINT kNotifyIconMessage = 0x87CD;

// The program's main window in any process, or null.
HWND FindMainWindow(DWORD process_id = 0);

// What the tray icon does on a double-click: shows the configuration window.
// True once it is visible.
bool DoubleClickTrayIcon(HWND main_window);
// Right-click on the tray icon and "Exit", the menu's last item, chosen with
// the keyboard as a person could. True when the menu opened and took the keys.
bool ChooseExitFromTrayMenu(HWND main_window);

// Whether the notification area holds the icon of this window (id 0). Asking
// the shell to modify an icon succeeds only for an icon it holds.
bool TrayIconShown(HWND main_window);
// Takes the icon out of the notification area, as a restarting shell loses it.
bool RemoveTrayIcon(HWND main_window);

// The main window of the program in a process (any process when process_id
// is 0) once it is up, which is when its tray icon shows; null when it does
// not come up within seconds or "ended" says it is gone.
HWND WaitUntilInTray(DWORD process_id, const std::function<bool()>& ended = nullptr);

// One run of a program, ended when this object goes.
class ProgramRun {
public:
    // program: full path; arguments: the rest of the command line; folder: the working folder (empty: ours).
    ProgramRun(const std::wstring& program, const std::wstring& arguments, const std::wstring& folder = L"");
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    bool Started() const { return process_.hProcess != nullptr; }
    DWORD Id() const { return process_.dwProcessId; }
    // The exit code, or nothing when the process still runs after timeout_ms.
    std::optional<DWORD> WaitForExit(DWORD timeout_ms);
    // Ends the process at once, as a crash or a power cut would, and waits until it is gone.
    void Kill();
    // The main window once the program is up (null when it does not come up or ends).
    HWND WaitUntilInTray();

private:
    PROCESS_INFORMATION process_{};
};

}  // namespace e2e
