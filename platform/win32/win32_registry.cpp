#include "platform/win32/win32_registry.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <string>

namespace platform::win32 {
namespace {

HKEY RootHandle(RegistryRoot root) {
    return root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
}

// A zero-terminated copy of a name for the registry calls, on the stack
// unless it is longer than any name the program uses.
class TerminatedName {
public:
    explicit TerminatedName(std::string_view name) {
        if (name.size() < sizeof short_) {
            name.copy(short_, name.size());
            short_[name.size()] = '\0';
            text_ = short_;
        } else {
            long_.assign(name);
            text_ = long_.c_str();
        }
    }
    TerminatedName(const TerminatedName&) = delete;
    TerminatedName& operator=(const TerminatedName&) = delete;
    const char* c_str() const { return text_; }

private:
    char short_[MAX_PATH];
    std::string long_;
    const char* text_;
};

// The program names keys like "\Software\..."; the registry calls want no leading backslash.
TerminatedName SubPath(std::string_view path) {
    return TerminatedName(path.substr(std::min(path.find_first_not_of('\\'), path.size())));
}

std::optional<uint32_t> QueryDword(HKEY key, const char* name) {
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

class Win32Key final : public RegistryKey {
public:
    explicit Win32Key(HKEY key) : key_(key) {}
    ~Win32Key() override { RegCloseKey(key_); }
    Win32Key(const Win32Key&) = delete;
    Win32Key& operator=(const Win32Key&) = delete;

    bool ValueExists(const std::string& name) const override {
        return RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }

    std::optional<uint32_t> ReadDword(const std::string& name) const override {
        return QueryDword(key_, name.c_str());
    }

    std::optional<std::string> ReadString(const std::string& name) const override {
        // The value may change between asking its size and reading it: retry then.
        for (int attempt = 0; attempt < 3; ++attempt) {
            DWORD type = 0, size = 0;
            if (RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
                (type != REG_SZ && type != REG_EXPAND_SZ))
                return std::nullopt;
            std::string text(size, '\0');
            LONG result = RegQueryValueExA(key_, name.c_str(), nullptr, &type,
                                           reinterpret_cast<BYTE*>(text.data()), &size);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
            // Stored strings need not end in a zero, or may hold several: keep the first.
            text.resize(size);
            text.resize(text.find('\0') == std::string::npos ? size : text.find('\0'));
            return text;
        }
        return std::nullopt;
    }

    std::vector<std::string> SubkeyNames() const override {
        std::vector<std::string> names;
        char name[256];  // registry key names are at most 255 characters
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            LONG result = RegEnumKeyExA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr);
            if (result == ERROR_MORE_DATA) continue;
            if (result != ERROR_SUCCESS) break;
            names.emplace_back(name, length);
        }
        return names;
    }

    std::vector<std::string> ValueNames() const override {
        std::vector<std::string> names;
        char name[16384];  // value names are at most 16383 characters
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key_, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            names.emplace_back(name, length);
        }
        return names;
    }

    bool WriteDword(const std::string& name, uint32_t value) override {
        DWORD data = value;
        return RegSetValueExA(key_, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data) == ERROR_SUCCESS;
    }

    bool WriteString(const std::string& name, const std::string& value) override {
        return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>(value.size() + 1)) == ERROR_SUCCESS;
    }

    bool DeleteValue(const std::string& name) override {
        return RegDeleteValueA(key_, name.c_str()) == ERROR_SUCCESS;
    }

private:
    HKEY key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenReadOnly(RegistryRoot root, std::string_view path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootHandle(root), SubPath(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return nullptr;
    return std::make_unique<Win32Key>(key);
}

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreate(RegistryRoot root, std::string_view path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(RootHandle(root), SubPath(path).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return std::make_unique<Win32Key>(key);
}

bool Win32Registry::KeyExists(RegistryRoot root, std::string_view path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootHandle(root), SubPath(path).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

bool Win32Registry::DeleteTree(RegistryRoot root, std::string_view path) {
    const TerminatedName sub_path = SubPath(path);
    if (*sub_path.c_str() == '\0') return false;  // never the whole root
    // SHDeleteKey works on every Windows the program supports (RegDeleteTree needs Vista).
    DWORD result = SHDeleteKeyA(RootHandle(root), sub_path.c_str());
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

std::optional<uint32_t> Win32Registry::ReadDword(RegistryRoot root, std::string_view path, std::string_view name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(RootHandle(root), SubPath(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return std::nullopt;
    const std::optional<uint32_t> value = QueryDword(key, TerminatedName(name).c_str());
    RegCloseKey(key);
    return value;
}

}  // namespace platform::win32
