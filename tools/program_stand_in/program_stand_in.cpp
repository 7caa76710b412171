// A test stand-in for Glimmerbox.exe, for building and trying the installer
// before the tray program exists: it has the real program's hidden main
// window ("TfMain", "Glimmerbox configuration"), grants a close request
// while hidden and then ends with exit code 0. It does nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);  // WM_CLOSE destroys the window
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = MainWindowProc;
    window_class.hInstance = instance;
    window_class.lpszClassName = L"TfMain";
    if (!RegisterClassW(&window_class)) return 1;
    if (!CreateWindowW(L"TfMain", L"Glimmerbox configuration", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                       400, 300, nullptr, nullptr, instance, nullptr))
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
    return static_cast<int>(message.wParam);
}
