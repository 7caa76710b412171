// The threads library linked into every shipped binary calls GetTickCount64,
// which Windows XP's kernel32 lacks: a static import of it would stop the
// binary from loading there. This file defines that import's slot itself, so
// the linker takes it instead of kernel32's, and binds the system's function
// at the first call, with GetTickCount widened to 64 bits where there is none.
#include "platform/widened_tick_count.h"

#include <windows.h>

#include <atomic>

namespace {

using TickCount64Function = ULONGLONG(WINAPI*)();

ULONGLONG WINAPI WidenedSystemTickCount() {
    static std::atomic<uint64_t> last{0};
    return WidenedTickCount(last, [] { return static_cast<uint32_t>(GetTickCount()); });
}

TickCount64Function Bound() {
    static std::atomic<TickCount64Function> bound{nullptr};
    TickCount64Function function = bound.load(std::memory_order_acquire);
    if (!function) {
        // Every thread that gets here binds the same function.
        HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
        function = kernel ? reinterpret_cast<TickCount64Function>(
                                reinterpret_cast<void*>(GetProcAddress(kernel, "GetTickCount64")))
                          : nullptr;
        if (!function) function = WidenedSystemTickCount;
        bound.store(function, std::memory_order_release);
    }
    return function;
}

ULONGLONG WINAPI TickCount64() { return Bound()(); }

}  // namespace

// The import slot that the threads library calls through, under the name the
// linker would otherwise fill from kernel32's import library.
#ifdef _WIN64
#define GLIMMER_TICK_COUNT_64_IMPORT "__imp_GetTickCount64"
#else
#define GLIMMER_TICK_COUNT_64_IMPORT "__imp__GetTickCount64@0"
#endif
extern "C" TickCount64Function glimmer_tick_count_64_import __asm__(GLIMMER_TICK_COUNT_64_IMPORT);
TickCount64Function glimmer_tick_count_64_import = TickCount64;
