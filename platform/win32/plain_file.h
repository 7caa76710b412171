#pragma once
// Files written in folders that other users can write to too (the current
// folder, the temporary-files folder): a link or junction planted under the
// file's name, or a second name of someone else's file, must not turn the
// write onto a file the writer never meant to touch. Header only, for the
// program and the sink module alike.

#include <windows.h>

namespace platform::win32 {

// Like CreateFileW with CREATE_ALWAYS (creates the file or empties it), but a
// reparse point at that name is opened itself, not followed, and is refused,
// as is a file with more than one name: INVALID_HANDLE_VALUE, with the file
// left as it was (a refused name opened with FILE_FLAG_DELETE_ON_CLOSE goes).
inline HANDLE CreatePlainFile(const wchar_t* path, DWORD access, DWORD share, DWORD flags) {
    HANDLE file = CreateFileW(path, access, share, nullptr, OPEN_ALWAYS, flags | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(file, &information) || (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) ||
        information.nNumberOfLinks != 1 || !SetEndOfFile(file)) {
        CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    return file;
}

}  // namespace platform::win32
