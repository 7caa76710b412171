// ui_driver: drives a running Glimmerbox.exe from outside, for scripts and
// for the stand-in host's "run" steps.
//
//   ui_driver.exe wait-program          waits until the program is up (main window and tray icon)
//   ui_driver.exe show                  what a double-click on the tray icon does: shows the window
//   ui_driver.exe marks MS [ROW...]     waits up to MS ms until exactly the rows with these
//                                       captions carry the check mark of an active relation
//   ui_driver.exe pictures FOLDER NAME  shows the window and saves a PNG of each tab: FOLDER\<tab>-NAME.png
//   ui_driver.exe tray MS LIT|DARK PNG  waits up to MS ms until Wine's system tray shows a lit light
//                                       of a single-colour LED (LIT) or none (DARK), then saves a
//                                       picture of the tray window as PNG
//   ui_driver.exe exit                  "Exit" from the tray menu; waits for the program's end
//   ui_driver.exe start-time PROGRAM RUNS
//                                       starts PROGRAM (no program may run) RUNS times and prints how
//                                       long each took until its main window existed (its first step)
//                                       and from there until its tray icon showed (the step before its
//                                       tick timer starts); for comparison, Wine's own start and end of
//                                       a windowed program ("ticking 0")
//   ui_driver.exe memory                prints the program's private bytes and working set
//   ui_driver.exe ticking SECONDS       a hidden window with a 125 ms timer and nothing else, for
//                                       SECONDS: what the program's tick costs Wine alone, for comparison
//
// Exit code 0 when the step did what it says, 1 when not (the reason on
// stderr), 2 for bad usage. "exit" ends with the program's own exit code.
#include "configuration_window.h"
#include "desktop.h"
#include "tray_program.h"
#include "window_picture.h"

#include <psapi.h>

#include <algorithm>
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

// The lit colour of a single-colour LED's light, 0xFFC020, give or take what the tray's drawing blends in.
bool LitPixel(DWORD pixel) {
    const int red = pixel >> 16 & 0xFF, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
    return red >= 0xE0 && green >= 0xA0 && green <= 0xE0 && blue <= 0x60;
}

int Tray(DWORD timeout_ms, bool lit, const std::wstring& png_path) {
    HWND tray = nullptr;
    std::size_t lit_pixels = 0;
    const bool shown = e2e::WaitUntil(
        [&] {
            tray = e2e::FindTopLevel(0, nullptr, L"Wine System Tray");
            const std::vector<DWORD> pixels = e2e::WindowPixels(tray);
            lit_pixels = static_cast<std::size_t>(std::count_if(pixels.begin(), pixels.end(), LitPixel));
            return !pixels.empty() && (lit_pixels > 0) == lit;
        },
        timeout_ms);
    if (tray && !e2e::SaveWindowPicture(tray, png_path)) Fail("could not save the tray's picture");
    if (shown) return kDone;
    std::fprintf(stderr, "ui_driver: %zu lit pixels in the tray after %lu ms\n", lit_pixels,
                 static_cast<unsigned long>(timeout_ms));
    return kFailed;
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

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from CreateProcess until the program's main window exists
// and until its tray icon shows; negative when it does not come up.
struct StartTimes {
    double window = -1;
    double tray = -1;
};

StartTimes TimeToTray(const std::wstring& program) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    e2e::ProgramRun run(program, L"");
    StartTimes times;
    HWND window = nullptr;
    // The window is looked for every millisecond: the usual 20 ms would blur the
    // figures. The tray icon only every 5 ms: each look is a message that the
    // notification area must answer while the program waits for it to add the icon.
    for (int look = 0; run.Started() && times.tray < 0 && MillisecondsSince(start) < 60000; ++look) {
        if (!window && (window = e2e::FindMainWindow(run.Id()))) times.window = MillisecondsSince(start);
        if (window && look % 5 == 0 && e2e::TrayIconShown(window)) times.tray = MillisecondsSince(start);
        Sleep(1);
    }
    if (window && e2e::ChooseExitFromTrayMenu(window)) run.WaitForExit(e2e::kPatienceMs);
    return times;
}

double TimeToStartAndEnd(const std::wstring& program, const std::wstring& arguments) {
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    e2e::ProgramRun run(program, arguments);
    return run.WaitForExit(e2e::kPatienceMs) ? MillisecondsSince(start) : -1;
}

int StartTime(const std::wstring& program, int runs) {
    if (e2e::FindMainWindow()) return Fail("Glimmerbox is already running");
    std::vector<double> to_window, window_to_tray, baseline;
    for (int i = 0; i < runs; ++i) {
        StartTimes times = TimeToTray(program);
        // A windowed program, as the program is: Wine connects it to the display as it starts.
        double bare = TimeToStartAndEnd(e2e::BesideThisProgram(L"ui_driver.exe"), L"ticking 0");
        if (times.tray < 0 || bare < 0) return Fail("a start failed");
        to_window.push_back(times.window);
        window_to_tray.push_back(times.tray - times.window);
        baseline.push_back(bare);
        std::printf("run %d: main window after %.1f ms, tray icon %.1f ms later; "
                    "a bare window started and ended in %.1f ms\n",
                    i + 1, times.window, times.tray - times.window, bare);
    }
    std::printf("median: main window after %.1f ms, tray icon %.1f ms later; "
                "a bare window started and ended in %.1f ms\n",
                Median(to_window), Median(window_to_tray), Median(baseline));
    return kDone;
}

int Ticking(DWORD seconds) {
    constexpr UINT kTickMs = 125;  // the program's tick
    HWND window = CreateWindowExA(0, "STATIC", "ticking", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window) return Fail("cannot create a window");
    SetTimer(window, 1, kTickMs, nullptr);
    const DWORD end = GetTickCount() + seconds * 1000;
    MSG message;
    while (static_cast<LONG>(GetTickCount() - end) < 0 && GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    DestroyWindow(window);
    return kDone;
}

int Memory(HWND window) {
    DWORD process_id = 0;
    GetWindowThreadProcessId(window, &process_id);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, process_id);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    bool read = process && GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                                sizeof counters);
    if (process) CloseHandle(process);
    if (!read) return Fail("cannot read the program's memory counters");
    auto kb = [](SIZE_T bytes) { return static_cast<unsigned long long>(bytes / 1024); };
    // Wine tells a 32-bit caller no private bytes of another process.
    if (counters.PrivateUsage) std::printf("private bytes %llu KB, ", kb(counters.PrivateUsage));
    std::printf("working set %llu KB, peak working set %llu KB\n", kb(counters.WorkingSetSize),
                kb(counters.PeakWorkingSetSize));
    return kDone;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "ticking" && argc == 3) return Ticking(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)));
    e2e::SeeRealPixels();
    if (command == "start-time" && argc == 4) return StartTime(e2e::Widen(argv[2]), std::max(1, std::atoi(argv[3])));
    if (command != "wait-program" && command != "show" && command != "marks" && command != "pictures" &&
        command != "exit" && command != "memory" && command != "tray") {
        std::fprintf(stderr,
                     "usage: ui_driver wait-program | show | marks MS [ROW...] | pictures FOLDER NAME | exit\n"
                     "                 | start-time PROGRAM RUNS | memory | tray MS LIT|DARK PNG\n");
        return kBadUsage;
    }
    HWND window = e2e::WaitUntilInTray(0);
    if (!window) return Fail("Glimmerbox is not running");
    if (command == "show") return Show(window);
    if (command == "marks" && argc >= 3) {
        std::vector<std::wstring> rows;
        for (int i = 3; i < argc; ++i) rows.push_back(e2e::Widen(argv[i]));
        return Marks(window, static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), rows);
    }
    if (command == "pictures" && argc == 4) return Pictures(window, e2e::Widen(argv[2]), e2e::Widen(argv[3]));
    if (command == "tray" && argc == 5 && (argv[3] == std::string("LIT") || argv[3] == std::string("DARK")))
        return Tray(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), argv[3] == std::string("LIT"),
                    e2e::Widen(argv[4]));
    if (command == "exit") return Exit(window);
    if (command == "memory") return Memory(window);
    return command == "wait-program" ? kDone : kBadUsage;
}
