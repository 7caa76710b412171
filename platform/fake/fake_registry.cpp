#include "platform/fake/fake_registry.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace platform::fake {

bool CaseInsensitiveLess::operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
}

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (char c : path) {
        if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

void MarkDeleted(FakeRegistry::Node& node) {
    node.deleted = true;
    for (auto& [name, child] : node.subkeys) MarkDeleted(*child);
}

class FakeKey final : public RegistryKey {
public:
    FakeKey(FakeRegistry& registry, std::shared_ptr<FakeRegistry::Node> node, bool writable)
        : registry_(registry), node_(std::move(node)), writable_(writable) {}

    bool ValueExists(const std::string& name) const override {
        return !node_->deleted && node_->values.count(name) != 0;
    }
    std::optional<uint32_t> ReadDword(const std::string& name) const override {
        const FakeRegistry::Value* value = Find(name);
        if (!value || value->type != FakeRegistry::Type::Dword) return std::nullopt;
        return value->dword;
    }
    std::optional<std::string> ReadString(const std::string& name) const override {
        const FakeRegistry::Value* value = Find(name);
        if (!value || value->type != FakeRegistry::Type::String) return std::nullopt;
        return value->text;
    }
    std::vector<std::string> SubkeyNames() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& [name, child] : node_->subkeys) names.push_back(name);
        return names;
    }
    std::vector<std::string> ValueNames() const override {
        std::vector<std::string> names;
        if (node_->deleted) return names;
        for (const auto& [name, value] : node_->values) names.push_back(name);
        return names;
    }
    bool WriteDword(const std::string& name, uint32_t value) override {
        return Store(name, {FakeRegistry::Type::Dword, value, {}});
    }
    bool WriteString(const std::string& name, const std::string& value) override {
        return Store(name, {FakeRegistry::Type::String, 0, value});
    }
    bool DeleteValue(const std::string& name) override {
        if (!CanWrite() || node_->values.erase(name) == 0) return false;
        return true;
    }

private:
    const FakeRegistry::Value* Find(const std::string& name) const {
        if (node_->deleted) return nullptr;
        auto it = node_->values.find(name);
        return it == node_->values.end() ? nullptr : &it->second;
    }
    bool CanWrite() { return writable_ && !node_->deleted && registry_.ConsumeWrite(); }
    bool Store(const std::string& name, FakeRegistry::Value value) {
        if (!CanWrite()) return false;
        auto it = node_->values.find(name);
        if (it != node_->values.end())
            it->second = std::move(value);
        else
            node_->values.emplace(name, std::move(value));
        return true;
    }

    FakeRegistry& registry_;
    std::shared_ptr<FakeRegistry::Node> node_;
    bool writable_;
};

}  // namespace

FakeRegistry::FakeRegistry()
    : current_user_(std::make_shared<Node>()), local_machine_(std::make_shared<Node>()) {}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegistryRoot root, const std::string& path) const {
    std::shared_ptr<Node> node = root == RegistryRoot::CurrentUser ? current_user_ : local_machine_;
    for (const std::string& part : SplitPath(path)) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) return nullptr;
        node = it->second;
    }
    return node;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenReadOnly(RegistryRoot root, const std::string& path) {
    std::shared_ptr<Node> node = Find(root, path);
    if (!node) return nullptr;
    return std::make_unique<FakeKey>(*this, std::move(node), false);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenOrCreate(RegistryRoot root, const std::string& path) {
    std::shared_ptr<Node> node = root == RegistryRoot::CurrentUser ? current_user_ : local_machine_;
    for (const std::string& part : SplitPath(path)) {
        auto it = node->subkeys.find(part);
        if (it == node->subkeys.end()) {
            if (!ConsumeWrite()) return nullptr;
            it = node->subkeys.emplace(part, std::make_shared<Node>()).first;
        }
        node = it->second;
    }
    return std::make_unique<FakeKey>(*this, std::move(node), true);
}

bool FakeRegistry::KeyExists(RegistryRoot root, const std::string& path) {
    return Find(root, path) != nullptr;
}

bool FakeRegistry::DeleteTree(RegistryRoot root, const std::string& path) {
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return false;  // never the whole root
    std::string leaf = parts.back();
    parts.pop_back();
    std::string parent_path;
    for (const std::string& part : parts) parent_path += part + '\\';
    std::shared_ptr<Node> parent = Find(root, parent_path);
    if (!parent) return true;
    auto it = parent->subkeys.find(leaf);
    if (it == parent->subkeys.end()) return true;
    if (!ConsumeWrite()) return false;
    MarkDeleted(*it->second);
    parent->subkeys.erase(it);
    return true;
}

void FakeRegistry::FailWritesAfter(int successful_writes) { writes_left_ = successful_writes; }

void FakeRegistry::PutBinary(RegistryRoot root, const std::string& path, const std::string& name) {
    std::shared_ptr<Node> node = Find(root, path);
    if (!node) {
        OpenOrCreate(root, path);
        node = Find(root, path);
    }
    node->values[name] = Value{Type::Binary, 0, {}};
}

bool FakeRegistry::ConsumeWrite() {
    if (writes_left_ == 0) return false;
    if (writes_left_ > 0) --writes_left_;
    ++write_count_;
    return true;
}

}  // namespace platform::fake
