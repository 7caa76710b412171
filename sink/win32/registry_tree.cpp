#include "sink/win32/registry_tree.h"

namespace {

// Subkey names are at most 255 characters, value names 16,383.
constexpr DWORD kLongestKeyName = 256;
constexpr DWORD kLongestValueName = 16384;

std::vector<std::wstring> SubkeyNames(HKEY key) {
    std::vector<std::wstring> names;
    wchar_t name[kLongestKeyName];
    for (DWORD index = 0;; ++index) {
        DWORD length = kLongestKeyName;
        if (RegEnumKeyExW(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

std::optional<RegistryTree> ReadOpenKey(HKEY key) {
    RegistryTree tree;
    std::vector<wchar_t> name(kLongestValueName);
    for (DWORD index = 0;; ++index) {
        DWORD name_length = kLongestValueName, type = 0, size = 0;
        LONG status = RegEnumValueW(key, index, name.data(), &name_length, nullptr, &type, nullptr, &size);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS) return std::nullopt;
        RegistryTree::Value value{std::wstring(name.data(), name_length), type, std::vector<BYTE>(size)};
        status = RegQueryValueExW(key, value.name.c_str(), nullptr, &value.type, value.data.data(), &size);
        if (status != ERROR_SUCCESS) return std::nullopt;
        value.data.resize(size);
        tree.values.push_back(std::move(value));
    }
    for (std::wstring& subkey_name : SubkeyNames(key)) {
        std::optional<RegistryTree> subtree = ReadRegistryTree(key, subkey_name);
        if (!subtree) return std::nullopt;
        tree.subkeys.push_back({std::move(subkey_name), std::move(*subtree)});
    }
    return tree;
}

LONG WriteTree(HKEY root, const std::wstring& path, const RegistryTree& tree) {
    HKEY key = nullptr;
    LONG status = RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    for (const RegistryTree::Value& value : tree.values) {
        status = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                                static_cast<DWORD>(value.data.size()));
        if (status != ERROR_SUCCESS) break;
    }
    for (const RegistryTree::Subkey& subkey : tree.subkeys) {
        if (status != ERROR_SUCCESS) break;
        status = WriteTree(key, subkey.name, subkey.tree);
    }
    RegCloseKey(key);
    return status;
}

}  // namespace

std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::optional<RegistryTree> tree = ReadOpenKey(key);
    RegCloseKey(key);
    return tree;
}

LONG DeleteRegistryTree(HKEY root, const std::wstring& path) {
    HKEY key = nullptr;
    LONG status = RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS) return status;
    for (const std::wstring& name : SubkeyNames(key)) {
        status = DeleteRegistryTree(key, name);
        if (status != ERROR_SUCCESS) break;
    }
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) status = RegDeleteKeyW(root, path.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

LONG RestoreRegistryTree(HKEY root, const std::wstring& path, const RegistryTree& tree) {
    LONG status = DeleteRegistryTree(root, path);
    return status == ERROR_SUCCESS ? WriteTree(root, path, tree) : status;
}
