#include "platform/win32/win32_files.h"

#include "platform/win32/plain_file.h"

#include <string>

namespace platform::win32 {
namespace {

class Win32OutputFile final : public OutputFile {
public:
    explicit Win32OutputFile(HANDLE file) : file_(file) {}
    ~Win32OutputFile() override { CloseHandle(file_); }
    Win32OutputFile(const Win32OutputFile&) = delete;
    Win32OutputFile& operator=(const Win32OutputFile&) = delete;

    void Write(std::string_view bytes) override {
        DWORD written = 0;
        WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    }

private:
    HANDLE file_;
};

}  // namespace

std::unique_ptr<OutputFile> Win32Files::Create(const std::string& name) {
    // The name is in the ANSI code page, as CreateFileA would take it.
    std::wstring path(MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0), L'\0');
    if (path.empty() || !MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, path.data(), static_cast<int>(path.size())))
        return nullptr;
    HANDLE file = CreatePlainFile(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<Win32OutputFile>(file);
}

}  // namespace platform::win32
