// Stops a scenario until the test has looked: signals the first named event,
// then waits for the second.
//   checkpoint.exe <reached event name> <passed event name>
#include <windows.h>

namespace {

constexpr DWORD kPassTimeoutMs = 30000;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    HANDLE reached = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[1]);
    HANDLE passed = OpenEventA(SYNCHRONIZE, FALSE, argv[2]);
    if (!reached || !passed) return 1;
    SetEvent(reached);
    return WaitForSingleObject(passed, kPassTimeoutMs) == WAIT_OBJECT_0 ? 0 : 3;
}
