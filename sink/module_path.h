#pragma once
// The module's own file path, asked for with growing buffers: a module may
// lie on a path longer than MAX_PATH, up to the loader's 32,767 characters.

#include <algorithm>
#include <cstdint>
#include <string>

inline constexpr uint32_t kFirstModulePathBuffer = 260;    // MAX_PATH, enough nearly always
inline constexpr uint32_t kLongestModulePathBuffer = 32768;  // 32,767 characters and the terminator

// file_name(buffer, capacity) answers as GetModuleFileNameW does: the length
// written without the terminator, capacity itself when the path was cut
// short, 0 on failure. Returns the whole path, or empty when it cannot be had.
template <typename FileName>
std::wstring ReadModulePath(FileName&& file_name) {
    for (uint32_t capacity = kFirstModulePathBuffer;; capacity = std::min(capacity * 2, kLongestModulePathBuffer)) {
        std::wstring path(capacity, L'\0');
        const uint32_t length = file_name(path.data(), capacity);
        if (length == 0) return {};
        if (length < capacity) {
            path.resize(length);
            return path;
        }
        if (capacity == kLongestModulePathBuffer) return {};
    }
}
