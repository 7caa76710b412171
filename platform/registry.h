#pragma once
// The registry as the program's logic sees it: the two roots it uses, keys
// named by backslash paths ("\Software\Quillmoor\Glimmerbox" or without the
// leading backslash), and the two value types it stores. A value of another
// type than the one asked for reads as missing.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

// One open key. Closed when destroyed.
class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // True iff a value of any type with this name exists.
    virtual bool ValueExists(const std::string& name) const = 0;
    // The value when it exists as REG_DWORD; nothing otherwise.
    virtual std::optional<uint32_t> ReadDword(const std::string& name) const = 0;
    // The value when it exists as REG_SZ (or REG_EXPAND_SZ, unexpanded); nothing otherwise.
    virtual std::optional<std::string> ReadString(const std::string& name) const = 0;
    // The names of the direct subkeys, in the registry's own order.
    virtual std::vector<std::string> SubkeyNames() const = 0;
    // The names of the values of every type, in the registry's own order.
    virtual std::vector<std::string> ValueNames() const = 0;

    // Writes need a key opened for writing; each returns true iff it succeeded.
    virtual bool WriteDword(const std::string& name, uint32_t value) = 0;
    virtual bool WriteString(const std::string& name, const std::string& value) = 0;
    virtual bool DeleteValue(const std::string& name) = 0;
};

class Registry {
public:
    virtual ~Registry() = default;

    // Opens an existing key for reading; null when it does not exist or cannot be opened.
    virtual std::unique_ptr<RegistryKey> OpenReadOnly(RegistryRoot root, std::string_view path) = 0;
    // Opens a key for reading and writing, creating it and its parents when missing;
    // null on failure.
    virtual std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, std::string_view path) = 0;
    // True iff the key exists.
    virtual bool KeyExists(RegistryRoot root, std::string_view path) = 0;
    // Deletes the key with all its subkeys and values. True when it is gone
    // afterwards (a key that never existed counts as gone).
    virtual bool DeleteTree(RegistryRoot root, std::string_view path) = 0;

    // Opens the key read-only, reads one value and closes the key again, all
    // without allocating: settings read once a second for months stay off the
    // heap. The value when it exists as REG_DWORD; nothing otherwise.
    virtual std::optional<uint32_t> ReadDword(RegistryRoot root, std::string_view path, std::string_view name) = 0;
};

}  // namespace platform
