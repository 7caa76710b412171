#pragma once
// One running program per Windows session. A second program beside the
// first would fight it for the port, reset its user events and save its own
// list of relations over the other's. So the program claims a mutex in the
// session's namespace, and a later start hands itself over to the program
// that holds it: that one shows its configuration window instead.

#include "app/win32/owned_handles.h"

#include <windows.h>

class cSingleInstance {
public:
    cSingleInstance() = default;

    // True when another program of this session runs and took this start over
    // (own_window, this program's main window, is not that one). False when
    // this program is now the session's one, at once or after the other ended.
    bool HandOverToRunningProgram(bool log_detect, HWND own_window);

private:
    owned_kernel_handle mutex_;  // the claim ends with the handle
};
