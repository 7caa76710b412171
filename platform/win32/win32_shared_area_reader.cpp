#include "platform/win32/win32_shared_area_reader.h"

#include <windows.h>

namespace platform::win32 {
namespace {

class Win32Mapping final : public SharedAreaMapping {
public:
    explicit Win32Mapping(HANDLE mapping) : mapping_(mapping) {}
    ~Win32Mapping() override { CloseHandle(mapping_); }
    Win32Mapping(const Win32Mapping&) = delete;
    Win32Mapping& operator=(const Win32Mapping&) = delete;

    const void* MapView() override { return MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0); }
    bool UnmapView(const void* view) override { return UnmapViewOfFile(view); }

private:
    HANDLE mapping_;
};

}  // namespace

std::unique_ptr<SharedAreaMapping> Win32SharedAreaReader::Open(const char* name) {
    HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
    if (!mapping) return nullptr;
    return std::make_unique<Win32Mapping>(mapping);
}

}  // namespace platform::win32
