#pragma once
// A window as the program's logic passes it around: the system's window
// handle (HWND), opaque to everything outside platform/win32.

namespace platform {

using WindowHandle = void*;

}  // namespace platform
