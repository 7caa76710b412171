#include "platform/win32/system_libraries.h"

#include <string>

namespace platform::win32 {
namespace {

template <typename Function>
Function* BindKernel32(const char* name) {
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}

}  // namespace

void RestrictLibrarySearch() {
    if (auto* set_dll_directory = BindKernel32<BOOL WINAPI(LPCWSTR)>("SetDllDirectoryW")) set_dll_directory(L"");
    if (auto* set_default_directories = BindKernel32<BOOL WINAPI(DWORD)>("SetDefaultDllDirectories"))
        set_default_directories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const char* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    for (const char* c = name; *c; ++c) path += static_cast<wchar_t>(*c);  // library names are plain ASCII
    return LoadLibraryW(path.c_str());
}

}  // namespace platform::win32
