#include "sink/win32/win32_area_backing.h"

#include "platform/win32/plain_file.h"
#include "sink/media_status_slot.h"

#include <string>

namespace {

// GetTempPathW's documented buffer, and the bound of the whole file path with its terminator.
constexpr DWORD kPathCapacity = MAX_PATH;

// The temporary-files directory followed directly by the name; empty when
// that path would not fit in MAX_PATH characters.
std::wstring BackingFilePath(const std::wstring& name) {
    wchar_t directory[kPathCapacity];
    DWORD length = GetTempPathW(kPathCapacity, directory);
    if (length == 0 || length >= kPathCapacity || length + name.size() >= kPathCapacity) return {};
    return std::wstring(directory, length) + name;
}

}  // namespace

std::byte* Win32AreaBacking::Map(const char* name) {
    Unmap();
    std::wstring wide_name(name, name + std::char_traits<char>::length(name));  // the name is plain ASCII
    std::wstring path = BackingFilePath(wide_name);
    if (!path.empty())
        file_ = platform::win32::CreatePlainFile(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                                 FILE_FLAG_DELETE_ON_CLOSE | FILE_ATTRIBUTE_NORMAL);
    // Without a file of its own (another writer of this Windows session holds
    // it, or a link lies under its name), the call still joins the existing
    // area of that name, or makes one in memory.
    mapping_ = CreateFileMappingW(file_, nullptr, PAGE_READWRITE, 0, kMediaStatusAreaSize, wide_name.c_str());
    if (mapping_) view_ = MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, kMediaStatusAreaSize);
    // A failed try holds nothing: the name is free the moment its holder lets go of it.
    if (!view_) Unmap();
    return static_cast<std::byte*>(view_);
}

void Win32AreaBacking::Unmap() {
    if (view_) UnmapViewOfFile(view_);
    if (mapping_) CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = INVALID_HANDLE_VALUE;
}
