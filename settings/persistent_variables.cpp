#include "settings/persistent_variables.h"

#include <utility>

using platform::RegistryRoot;

cPersistentVariable::cPersistentVariable(platform::Registry& registry, std::string name, bool machine_wide)
    : registry_(registry),
      root_(machine_wide ? RegistryRoot::LocalMachine : RegistryRoot::CurrentUser),
      name_(std::move(name)) {}

bool cPersistentVariable::Exists() const {
    auto key = OpenForReading();
    return key && key->ValueExists(name_);
}

std::unique_ptr<platform::RegistryKey> cPersistentVariable::OpenForReading() const {
    return registry_.OpenReadOnly(root_, kGlimmerboxKey);
}

std::optional<uint32_t> cPersistentVariable::ReadDword() const {
    return registry_.ReadDword(root_, kGlimmerboxKey, name_);
}

std::unique_ptr<platform::RegistryKey> cPersistentVariable::OpenForWriting() const {
    return registry_.OpenOrCreate(root_, kGlimmerboxKey);
}

// A value of another type than ours (say a REG_SZ "UserEvent0" written by
// hand) reads as missing, so Get answers with the last value instead of
// failing the tick that asked.

cPersistentBool::cPersistentBool(platform::Registry& registry, std::string name, bool machine_wide,
                                 bool default_value)
    : cPersistentVariable(registry, std::move(name), machine_wide), last_value_(default_value) {}

bool cPersistentBool::Get() const {
    const std::optional<uint32_t> stored = ReadDword();
    return stored ? *stored != 0 : last_value_;
}

bool cPersistentBool::Set(bool value) {
    last_value_ = value;
    auto key = OpenForWriting();
    return key && key->WriteDword(Name(), value ? 1 : 0);
}

cPersistentInteger::cPersistentInteger(platform::Registry& registry, std::string name, bool machine_wide,
                                       int32_t default_value)
    : cPersistentVariable(registry, std::move(name), machine_wide), last_value_(default_value) {
    if (!Exists()) Set(default_value);
}

int32_t cPersistentInteger::Get() const {
    const std::optional<uint32_t> stored = ReadDword();
    return stored ? static_cast<int32_t>(*stored) : last_value_;
}

bool cPersistentInteger::Set(int32_t value) {
    last_value_ = value;
    auto key = OpenForWriting();
    return key && key->WriteDword(Name(), static_cast<uint32_t>(value));
}

cPersistentAnsiString::cPersistentAnsiString(platform::Registry& registry, std::string name, bool machine_wide,
                                             std::string default_value)
    : cPersistentVariable(registry, std::move(name), machine_wide), last_value_(std::move(default_value)) {
    if (!Exists()) Set(last_value_);
}

std::string cPersistentAnsiString::Get() const {
    auto key = OpenForReading();
    auto stored = key ? key->ReadString(Name()) : std::nullopt;
    return stored ? *stored : last_value_;
}

bool cPersistentAnsiString::Set(const std::string& value) {
    last_value_ = value;
    auto key = OpenForWriting();
    return key && key->WriteString(Name(), value);
}
