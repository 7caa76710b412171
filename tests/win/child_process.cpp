#include "child_process.h"

namespace {

// Long enough for a cold Wine process to start, short enough to end a hung test.
constexpr DWORD kTimeoutMs = 30000;
// A child still running when its test ends failed that test; it gets this long to finish.
constexpr DWORD kGraceMs = 5000;

std::string BesideThisProgram(const char* file) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + file;
}

}  // namespace

Checkpoint::Checkpoint(const std::string& name)
    : reached_name_("Glimmerbox" + name + "Reached"),
      passed_name_("Glimmerbox" + name + "Passed"),
      reached_(CreateEventA(nullptr, TRUE, FALSE, reached_name_.c_str())),
      passed_(CreateEventA(nullptr, TRUE, FALSE, passed_name_.c_str())) {}

Checkpoint::~Checkpoint() {
    Pass();  // never leave a child waiting
    CloseHandle(reached_);
    CloseHandle(passed_);
}

bool Checkpoint::WaitReached() { return WaitForSingleObject(reached_, kTimeoutMs) == WAIT_OBJECT_0; }

void Checkpoint::Pass() { SetEvent(passed_); }

ChildProcess::ChildProcess(const char* program, const std::string& arguments) {
    std::string command = "\"" + BesideThisProgram(program) + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
        process_ = {};
}

ChildProcess::~ChildProcess() {
    if (!Started()) return;
    if (WaitForSingleObject(process_.hProcess, kGraceMs) != WAIT_OBJECT_0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

DWORD ChildProcess::Wait() {
    DWORD exit_code = ~DWORD{0};
    if (Started() && WaitForSingleObject(process_.hProcess, kTimeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process_.hProcess, &exit_code);
    return exit_code;
}
