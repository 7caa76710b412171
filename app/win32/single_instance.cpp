#include "app/win32/single_instance.h"

#include "app/main_window_model.h"
#include "app/win32/main_form_layout.h"

namespace {

// "Local\": the session's own namespace, so that each logged-on user runs one program.
constexpr char kMutexName[] = "Local\\Glimmerbox";
// How long a start waits for the running program to answer, or to end.
constexpr DWORD kPatienceMs = 10000;
constexpr DWORD kPollMs = 100;

// The main window of another program of this session, or null while it has none.
HWND RunningMainWindow(HWND own_window) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, main_layout::kForm.class_name, cMainWindowModel::kCaption)))
        if (window != own_window) return window;
    return nullptr;
}

}  // namespace

bool cSingleInstance::HandOverToRunningProgram(bool log_detect, HWND own_window) {
    mutex_.reset(CreateMutexA(nullptr, TRUE, kMutexName));
    if (!mutex_ || GetLastError() != ERROR_ALREADY_EXISTS) return false;
    for (DWORD waited = 0; waited < kPatienceMs; waited += kPollMs) {
        if (HWND running = RunningMainWindow(own_window)) {
            DWORD process = 0;
            GetWindowThreadProcessId(running, &process);
            // This start is the person's own: it may hand the foreground on.
            AllowSetForegroundWindow(process);
            DWORD_PTR answer = 0;
            if (SendMessageTimeoutA(running, cMainWindowModel::kSecondStartMessage, log_detect ? 1 : 0, 0,
                                    SMTO_ABORTIFHUNG, kPatienceMs, &answer))
                return true;
        }
        // The running program is ending, or still making its window.
        const DWORD claimed = WaitForSingleObject(mutex_.get(), kPollMs);
        if (claimed == WAIT_OBJECT_0 || claimed == WAIT_ABANDONED) return false;
    }
    return true;  // a program that neither answers nor ends still runs: no second one beside it
}
