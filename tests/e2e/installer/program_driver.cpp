// program_driver: starts the installed program as the shell would and
// watches it end, for the installer's tests.
//
//   program_driver.exe COMMAND [close]
//   program_driver.exe SHORTCUT.lnk [close]
//   program_driver.exe close
//
// COMMAND is a command line as the log-on entry holds it; a shortcut is
// resolved to its target and arguments, and "target PATH" is printed. The
// driver waits for the program's main window ("TfMain", "Glimmerbox
// configuration") and prints "window"; with "close" it then sends the window
// a close request. It waits for the program to end and prints "exit CODE".
// Exit code 0 when the window appeared and the program ended with 0; 1 bad
// usage, 2 not started, 3 no window, 4 still running, 5 ended with another code.
// "close" alone sends a close request to every running Glimmerbox (3 when none runs).
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kWindowWaitMs = 30000;  // a first start in a fresh prefix is slow
constexpr DWORD kEndWaitMs = 30000;

enum ExitCode { kEnded = 0, kBadUsage = 1, kNotStarted = 2, kNoWindow = 3, kStillRunning = 4, kOtherCode = 5 };

bool EndsWith(const std::wstring& text, const std::wstring& suffix) {
    return text.size() >= suffix.size() &&
           CompareStringOrdinal(text.c_str() + text.size() - suffix.size(), -1, suffix.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// The command line a shortcut starts, or an empty one when it cannot be read.
std::wstring ShortcutCommand(const std::wstring& shortcut) {
    std::wstring command;
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return command;
    IPersistFile* file = nullptr;
    wchar_t target[MAX_PATH] = L"";
    wchar_t arguments[1024] = L"";
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(shortcut.c_str(), STGM_READ)) && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
            SUCCEEDED(link->GetArguments(arguments, 1024)) && *target) {
            std::printf("target %ls\n", target);
            command = L"\"" + std::wstring(target) + L"\" " + arguments;
        }
        file->Release();
    }
    link->Release();
    return command;
}

HWND MainWindowOf(DWORD process_id) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"TfMain", L"Glimmerbox configuration"));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process_id) return window;
    }
    return nullptr;
}

int CloseAll() {
    int result = kNoWindow;
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"TfMain", L"Glimmerbox configuration"));) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        result = kEnded;
    }
    return result;
}

int Drive(std::wstring command, bool close) {
    PROCESS_INFORMATION process{};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        std::printf("not started: error %lu\n", GetLastError());
        return kNotStarted;
    }
    CloseHandle(process.hThread);
    HWND window = nullptr;
    for (DWORD waited = 0; !(window = MainWindowOf(process.dwProcessId)) && waited < kWindowWaitMs; waited += 50) Sleep(50);
    int result = kNoWindow;
    if (window) {
        std::printf("window\n");
        std::fflush(stdout);
        if (close) PostMessageW(window, WM_CLOSE, 0, 0);
        DWORD code = 0;
        if (WaitForSingleObject(process.hProcess, kEndWaitMs) == WAIT_OBJECT_0 && GetExitCodeProcess(process.hProcess, &code)) {
            std::printf("exit %lu\n", code);
            result = code == 0 ? kEnded : kOtherCode;
        } else {
            result = kStillRunning;
        }
    }
    if (result != kEnded) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hProcess);
    return result;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 3 || (argc == 3 && std::wstring(argv[2]) != L"close")) {
        std::printf("usage: program_driver COMMAND|SHORTCUT.lnk [close]\n");
        return kBadUsage;
    }
    std::wstring command = argv[1];
    if (argc == 2 && command == L"close") return CloseAll();
    if (EndsWith(command, L".lnk")) {
        CoInitialize(nullptr);
        command = ShortcutCommand(command);
        CoUninitialize();
        if (command.empty()) {
            std::printf("not started: the shortcut cannot be read\n");
            return kNotStarted;
        }
    }
    int result = Drive(command, argc == 3);
    std::fflush(stdout);
    return result;
}
