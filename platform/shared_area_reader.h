#pragma once
// Named shared memory areas that another process creates, opened for reading.

#include <memory>

namespace platform {

// An open area (the mapping handle). Closes the handle when destroyed; views
// must be unmapped before.
class SharedAreaMapping {
public:
    virtual ~SharedAreaMapping() = default;

    // MapViewOfFile(FILE_MAP_READ, offset 0, the whole area): the view's address, or null on failure.
    virtual const void* MapView() = 0;
    // UnmapViewOfFile of an address that MapView returned; true iff it was unmapped.
    virtual bool UnmapView(const void* view) = 0;
};

class SharedAreaReader {
public:
    virtual ~SharedAreaReader() = default;

    // OpenFileMappingA(FILE_MAP_READ, not inheritable, name); null when no such area can be opened.
    virtual std::unique_ptr<SharedAreaMapping> Open(const char* name) = 0;
};

}  // namespace platform
