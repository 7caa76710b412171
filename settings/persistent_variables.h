#pragma once
// Settings that live in the registry and are read and written on every
// access, so that a value one process of the program writes is seen by
// another at its next read. Nothing is cached between calls.

#include "platform/registry.h"

#include <cstdint>
#include <string>

// The program's own key under HKEY_CURRENT_USER. Per-hardware-ID subkeys
// (relations, calibration) lie beneath it.
inline constexpr const char* kGlimmerboxKey = "\\Software\\Quillmoor\\Glimmerbox";

class cPersistentVariable {
public:
    cPersistentVariable(platform::Registry& registry, std::string name, bool machine_wide);
    virtual ~cPersistentVariable() = default;
    cPersistentVariable(const cPersistentVariable&) = delete;
    cPersistentVariable& operator=(const cPersistentVariable&) = delete;

    // True iff the value exists (of any type).
    bool Exists() const;

protected:
    std::unique_ptr<platform::RegistryKey> OpenForReading() const;
    // Opens the key, reads the value as an integer and closes the key, without allocating.
    std::optional<uint32_t> ReadDword() const;
    std::unique_ptr<platform::RegistryKey> OpenForWriting() const;
    const std::string& Name() const { return name_; }

private:
    platform::Registry& registry_;
    platform::RegistryRoot root_;
    std::string name_;
};

// Stored as REG_DWORD 1 or 0; any non-zero integer reads as true.
class cPersistentBool : public cPersistentVariable {
public:
    cPersistentBool(platform::Registry& registry, std::string name, bool machine_wide = false,
                    bool default_value = false);

    // The stored value; the last value set (at first the default) when it is missing or not an integer.
    bool Get() const;
    // Stores the value; false when the registry write failed.
    bool Set(bool value);

private:
    bool last_value_;
};

// Stored as REG_DWORD. Writes the default at construction when the value is missing.
class cPersistentInteger : public cPersistentVariable {
public:
    cPersistentInteger(platform::Registry& registry, std::string name, bool machine_wide, int32_t default_value);

    int32_t Get() const;
    bool Set(int32_t value);

private:
    int32_t last_value_;
};

// Stored as REG_SZ. Writes the default at construction when the value is missing.
class cPersistentAnsiString : public cPersistentVariable {
public:
    cPersistentAnsiString(platform::Registry& registry, std::string name, bool machine_wide,
                          std::string default_value);

    std::string Get() const;
    bool Set(const std::string& value);

private:
    std::string last_value_;
};
