#pragma once
// An in-memory registry with the real one's rules: case-insensitive key and
// value names, subkeys listed in sorted order, typed values, keys that stop
// working once their tree is deleted. Tests can make writes fail on demand.

#include "platform/registry.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>

namespace platform::fake {

// Transparent, so that names are looked up without building strings.
struct CaseInsensitiveLess {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const;
};

class FakeRegistry final : public Registry {
public:
    enum class Type { Dword, String, Binary };
    struct Value {
        Type type = Type::Dword;
        uint32_t dword = 0;
        std::string text;
    };
    struct Node {
        std::map<std::string, Value, CaseInsensitiveLess> values;
        std::map<std::string, std::shared_ptr<Node>, CaseInsensitiveLess> subkeys;
        bool deleted = false;
    };

    FakeRegistry();
    // A registry of its own holding the same keys and values; keys opened on
    // the original stay with the original.
    FakeRegistry(const FakeRegistry& other);
    FakeRegistry& operator=(const FakeRegistry&) = delete;

    std::unique_ptr<RegistryKey> OpenReadOnly(RegistryRoot root, std::string_view path) override;
    std::unique_ptr<RegistryKey> OpenOrCreate(RegistryRoot root, std::string_view path) override;
    bool KeyExists(RegistryRoot root, std::string_view path) override;
    bool DeleteTree(RegistryRoot root, std::string_view path) override;
    std::optional<uint32_t> ReadDword(RegistryRoot root, std::string_view path, std::string_view name) override;

    // Lets this many more writes (values, creations, deletions) succeed, then
    // fails every one until FailWritesAfter(-1) lifts the limit.
    void FailWritesAfter(int successful_writes);
    // Stores a value of a type that the program never writes (REG_BINARY).
    void PutBinary(RegistryRoot root, std::string_view path, const std::string& name);
    // How many writes succeeded since construction.
    int WriteCount() const { return write_count_; }

    // Used by the keys it hands out.
    bool ConsumeWrite();

private:
    std::shared_ptr<Node> Root(RegistryRoot root) const;
    std::shared_ptr<Node> Find(RegistryRoot root, std::string_view path) const;

    std::shared_ptr<Node> current_user_;
    std::shared_ptr<Node> local_machine_;
    int writes_left_ = -1;
    int write_count_ = 0;
};

}  // namespace platform::fake
