#include "app/win32/dpi.h"

namespace {

template <typename Function>
Function BindUser32(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("user32.dll"), name)));
}

}  // namespace

UINT WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto get_dpi_for_window = BindUser32<GetDpiForWindowFunction>("GetDpiForWindow");
    if (get_dpi_for_window && window) {
        if (const UINT dpi = get_dpi_for_window(window)) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDesignDpi;
}

RECT WindowRectForClient(int client_width, int client_height, DWORD style, DWORD ex_style, UINT dpi) {
    using AdjustForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    static const auto adjust_for_dpi = BindUser32<AdjustForDpiFunction>("AdjustWindowRectExForDpi");
    RECT rect = {0, 0, client_width, client_height};
    if (!adjust_for_dpi || !adjust_for_dpi(&rect, style, FALSE, ex_style, dpi)) {
        AdjustWindowRectEx(&rect, style, FALSE, ex_style);
    }
    return rect;
}

int SmallIconSize(HWND window) {
    using MetricsForDpiFunction = int(WINAPI*)(int, UINT);
    static const auto metrics_for_dpi = BindUser32<MetricsForDpiFunction>("GetSystemMetricsForDpi");
    const int size = metrics_for_dpi ? metrics_for_dpi(SM_CXSMICON, WindowDpi(window)) : 0;
    return size > 0 ? size : GetSystemMetrics(SM_CXSMICON);
}
