// The module's own state and its entry points for load and the unload
// query. The class object is handed out in class_factory.cpp, registration
// in registration.cpp.
#include "sink/win32/com_module.h"

#include "sink/module_path.h"

#include <new>

namespace com_module {
namespace {

// A DLL's own state: COM asks the module, not an object, whether it may go.
HMODULE module_handle = nullptr;
LONG lock_count = 0;

}  // namespace

void Lock() { InterlockedIncrement(&lock_count); }
void Unlock() { InterlockedDecrement(&lock_count); }
bool IsLocked() { return InterlockedCompareExchange(&lock_count, 0, 0) != 0; }

std::wstring Path() noexcept {
    try {
        return ReadModulePath([](wchar_t* buffer, uint32_t capacity) -> uint32_t {
            return GetModuleFileNameW(module_handle, buffer, capacity);
        });
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    }
    return {};
}

HRESULT LastErrorResult() {
    DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}

}  // namespace com_module

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        com_module::module_handle = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return com_module::IsLocked() ? S_FALSE : S_OK; }
