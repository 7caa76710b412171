#include "desktop.h"

namespace e2e {

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeout_ms) return false;
        Sleep(20);
    }
}

void SeeRealPixels() {
    // Per-monitor awareness: no coordinate or picture scaling between this
    // process and a program that runs at another DPI.
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(-4);
    auto set_context = reinterpret_cast<SetContext>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    if (!set_context || !set_context(kPerMonitorAwareV2)) SetProcessDPIAware();
}

namespace {

struct Search {
    DWORD process_id;
    const wchar_t* window_class;
    const wchar_t* title;
    std::vector<HWND> found;
};

bool Matches(HWND window, const wchar_t* window_class, const wchar_t* title) {
    wchar_t name[256];
    if (window_class && (!GetClassNameW(window, name, 256) || lstrcmpW(name, window_class) != 0)) return false;
    return !title || Text(window) == title;
}

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if ((search.process_id == 0 || owner == search.process_id) && Matches(window, search.window_class, search.title))
        search.found.push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
    auto& search = *reinterpret_cast<Search*>(parameter);
    if (Matches(window, search.window_class, nullptr)) search.found.push_back(window);
    return TRUE;
}

}  // namespace

std::vector<HWND> TopLevelWindows(DWORD process_id, const wchar_t* window_class, const wchar_t* title) {
    Search search{process_id, window_class, title, {}};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindTopLevel(DWORD process_id, const wchar_t* window_class, const wchar_t* title) {
    std::vector<HWND> windows = TopLevelWindows(process_id, window_class, title);
    return windows.empty() ? nullptr : windows.front();
}

std::vector<HWND> VisibleTopLevelWindows(DWORD process_id) {
    std::vector<HWND> visible;
    for (HWND window : TopLevelWindows(process_id))
        if (IsWindowVisible(window)) visible.push_back(window);
    return visible;
}

std::string ShownWindows(DWORD process_id) {
    std::string shown = "windows shown:";
    for (HWND window : VisibleTopLevelWindows(process_id)) {
        shown += " \"" + Narrow(Text(window)) + "\"";
        for (HWND label : Descendants(window, L"Static")) shown += " (" + Narrow(Text(label)) + ")";
    }
    return shown;
}

std::vector<HWND> Descendants(HWND parent, const wchar_t* window_class) {
    Search search{0, window_class, nullptr, {}};
    EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring Text(HWND window) {
    // WM_GETTEXT is copied across processes by the system; the length first.
    LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    LRESULT copied = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring BesideThisProgram(const std::wstring& file) {
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + file;
}

std::wstring WindowsPath(const std::string& path) {
    // Wine names its own conversion from Unix paths; Windows has no Unix paths.
    using ToDos = wchar_t*(CDECL*)(const char*);
    auto to_dos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (to_dos && !path.empty() && path[0] == '/') {
        if (wchar_t* dos = to_dos(path.c_str())) {
            std::wstring converted(dos);
            HeapFree(GetProcessHeap(), 0, dos);
            return converted;
        }
    }
    return Widen(path);
}

std::string Narrow(const std::wstring& text) {
    int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(), length, nullptr, nullptr);
    return narrow;
}

std::wstring Widen(const std::string& text) {
    int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
    return wide;
}

}  // namespace e2e
