#pragma once
// The shared area as Windows holds it: a named file mapping over a file of
// the same name in the temporary-files directory, deleted when its last
// handle closes, with one writable view.

#include "sink/shared_area_backing.h"

#include <windows.h>

class Win32AreaBacking final : public SharedAreaBacking {
public:
    Win32AreaBacking() = default;
    ~Win32AreaBacking() override { Unmap(); }
    Win32AreaBacking(const Win32AreaBacking&) = delete;
    Win32AreaBacking& operator=(const Win32AreaBacking&) = delete;

    std::byte* Map(const char* name) override;
    void Unmap() override;

private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};
