// ui_driver: drives a running Glimmerbox.exe from outside, for scripts and
// for the stand-in host's "run" steps.
//
//   ui_driver.exe wait-program          waits until the program is up (main window and tray icon)
//   ui_driver.exe show                  what a double-click on the tray icon does: shows the window
//   ui_driver.exe marks MS [ROW...]     waits up to MS ms until exactly the rows with these
//                                       captions carry the check mark of an active relation
//   ui_driver.exe pictures FOLDER NAME  shows the window and saves a PNG of each tab: FOLDER\<tab>-NAME.png
//   ui_driver.exe exit                  "Exit" from the tray menu; waits for the program's end
//
// Exit code 0 when the step did what it says, 1 when not (the reason on
// stderr), 2 for bad usage. "exit" ends with the program's own exit code.
#include "configuration_window.h"
#include "desktop.h"
#include "tray_program.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

enum ExitCode { kDone = 0, kFailed = 1, kBadUsage = 2 };

int Fail(const char* reason) {
    std::fprintf(stderr, "ui_driver: %s\n", reason);
    return kFailed;
}

std::wstring Widen(const char* text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

HWND ProgramUp() {
    HWND window = nullptr;
    e2e::WaitUntil([&] {
        window = e2e::FindMainWindow();
        return window && e2e::TrayIconShown(window);
    });
    return window;
}

int Show(HWND window) {
    if (!e2e::DoubleClickTrayIcon(window)) return Fail("the configuration window did not show");
    if (e2e::Text(window) != e2e::kMainWindowCaption) return Fail("the window has another caption");
    return kDone;
}

int Marks(HWND window, DWORD timeout_ms, const std::vector<std::wstring>& rows) {
    e2e::ConfigurationWindow configuration(window);
    if (configuration.WaitForMarkedRows(rows, timeout_ms)) return kDone;
    std::fprintf(stderr, "ui_driver: marked rows after %lu ms:", static_cast<unsigned long>(timeout_ms));
    for (const std::wstring& row : configuration.MarkedRows()) std::fprintf(stderr, " \"%s\"", e2e::Narrow(row).c_str());
    std::fprintf(stderr, "\n");
    return kFailed;
}

int Pictures(HWND window, const std::wstring& folder, const std::wstring& name) {
    if (int shown = Show(window); shown != kDone) return shown;
    std::vector<std::wstring> paths = e2e::ConfigurationWindow(window).SaveTabPictures(folder, name);
    if (paths.empty()) return Fail("could not save the pictures");
    for (const std::wstring& path : paths) std::printf("%s\n", e2e::Narrow(path).c_str());
    return kDone;
}

int Exit(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process_id);
    if (!process) return Fail("cannot open the program's process");
    DWORD exit_code = kFailed;
    if (!e2e::ChooseExitFromTrayMenu(window)) {
        Fail("the tray menu did not open");
    } else if (WaitForSingleObject(process, e2e::kPatienceMs) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &exit_code)) {
        Fail("the program did not end");
        exit_code = kFailed;
    }
    CloseHandle(process);
    return static_cast<int>(exit_code);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    e2e::SeeRealPixels();
    if (command != "wait-program" && command != "show" && command != "marks" && command != "pictures" && command != "exit") {
        std::fprintf(stderr, "usage: ui_driver wait-program | show | marks MS [ROW...] | pictures FOLDER NAME | exit\n");
        return kBadUsage;
    }
    HWND window = ProgramUp();
    if (!window) return Fail("Glimmerbox is not running");
    if (command == "show") return Show(window);
    if (command == "marks" && argc >= 3) {
        std::vector<std::wstring> rows;
        for (int i = 3; i < argc; ++i) rows.push_back(Widen(argv[i]));
        return Marks(window, static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), rows);
    }
    if (command == "pictures" && argc == 4) return Pictures(window, Widen(argv[2]), Widen(argv[3]));
    if (command == "exit") return Exit(window);
    return command == "wait-program" ? kDone : kBadUsage;
}
