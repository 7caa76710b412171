#pragma once
// Where the shared area's bytes live: on Windows a named file mapping over a
// delete-on-close file in the temporary-files directory, in tests memory.

#include <cstddef>

class SharedAreaBacking {
public:
    virtual ~SharedAreaBacking() = default;

    // Creates the named area of kMediaStatusAreaSize bytes, or joins the one of
    // that name that already exists, and maps a writable view of all of it.
    // Returns the view's address (4-byte aligned), or null when none could be mapped.
    virtual std::byte* Map(const char* name) = 0;
    // Unmaps the view, then closes the mapping and its file. Does nothing when nothing is open.
    virtual void Unmap() = 0;
};
