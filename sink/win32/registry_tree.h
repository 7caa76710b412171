#pragma once
// A registry key with all its values and subkeys, read into memory so that
// it can be put back exactly as it was after a system call rewrote it.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

struct RegistryTree {
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Subkey;

    std::vector<Value> values;
    std::vector<Subkey> subkeys;
};

struct RegistryTree::Subkey {
    std::wstring name;
    RegistryTree tree;
};

// The key at path under root with everything below it; nothing when it does not exist or cannot be read.
std::optional<RegistryTree> ReadRegistryTree(HKEY root, const std::wstring& path);
// Deletes the key at path with everything below it. A missing key counts as deleted.
LONG DeleteRegistryTree(HKEY root, const std::wstring& path);
// Replaces the key at path and everything below it with the tree.
LONG RestoreRegistryTree(HKEY root, const std::wstring& path, const RegistryTree& tree);
