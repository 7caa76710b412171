#pragma once
// What the module as a whole keeps: its own handle, for its file's path,
// and the lock count that tells COM whether the module may be unloaded.
// Every live object, a class factory held from outside and every
// outstanding LockServer(TRUE) hold one lock each.

#include <windows.h>
#include <objbase.h>

#include <string>

namespace com_module {

void Lock();
void Unlock();
// True while any lock is held.
bool IsLocked();

// The module's full file path; empty when it cannot be had (see LastErrorResult).
std::wstring Path() noexcept;

// The calling thread's last error as an HRESULT; never a success.
HRESULT LastErrorResult();

// Holds one module lock for as long as it lives.
class LockHolder {
public:
    LockHolder() { Lock(); }
    ~LockHolder() { Unlock(); }
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;
};

}  // namespace com_module
