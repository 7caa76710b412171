#include "platform/fake/fake_registry.h"

#include <algorithm>
#include <cctype>

namespace platform::fake {

// Registry names compare without regard to ASCII case. A plain loop: tests
// that cut saves at every write look names up millions of times.
bool CaseInsensitiveLess::operator()(std::string_view a, std::string_view b) const {
    const std::size_t common = a.size() < b.size() ? a.size() : b.size();
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i]) continue;
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

namespace {

// Calls visit with each key name of a backslash path in turn, skipping empty
// ones, until visit returns false; returns whether every name was visited.
template <typename Visit>
bool ForEachName(std::string_view path, Visit visit) {
    while (!path.empty()) {
        const std::size_t end = std::min(path.find('\\'), path.size());
        if (end > 0 && !visit(path.substr(0, end))) return false;
        path.remove_prefix(std::min(end + 1, path.size()));
    }
    return true;
}

const FakeRegistry::Value* FindValue(const FakeRegistry::Node& node, std::string_view name) {
    if (node.deleted) return nullptr;
    auto it = node.values.find(name);
    return it == node.values.end() ? nullptr : &it->second;
}

std::optional<uint32_t> DwordOf(const FakeRegistry::Value* value) {
    if (!value || value->type != FakeRegistry::Type::Dword) return std::nullopt;
    return value->dword;
}

std::shared_ptr<FakeRegistry::Node> Clone(const FakeRegistry::Node& node) {
    auto copy = std::make_shared<FakeRegistry::Node>();
    copy->values = node.values;
    copy->deleted = node.deleted;
    for (const auto& [name, child] : node.subkeys) copy->subkeys.emplace(name, Clone(*child));
    return copy;
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
        return DwordOf(FindValue(*node_, name));
    }
    std::optional<std::string> ReadString(const std::string& name) const override {
        const FakeRegistry::Value* value = FindValue(*node_, name);
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

FakeRegistry::FakeRegistry(const FakeRegistry& other)
    : current_user_(Clone(*other.current_user_)),
      local_machine_(Clone(*other.local_machine_)),
      writes_left_(other.writes_left_),
      write_count_(other.write_count_) {}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Root(RegistryRoot root) const {
    return root == RegistryRoot::CurrentUser ? current_user_ : local_machine_;
}

std::shared_ptr<FakeRegistry::Node> FakeRegistry::Find(RegistryRoot root, std::string_view path) const {
    std::shared_ptr<Node> node = Root(root);
    const bool found = ForEachName(path, [&node](std::string_view name) {
        auto it = node->subkeys.find(name);
        if (it == node->subkeys.end()) return false;
        node = it->second;
        return true;
    });
    return found ? node : nullptr;
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenReadOnly(RegistryRoot root, std::string_view path) {
    std::shared_ptr<Node> node = Find(root, path);
    if (!node) return nullptr;
    return std::make_unique<FakeKey>(*this, std::move(node), false);
}

std::unique_ptr<RegistryKey> FakeRegistry::OpenOrCreate(RegistryRoot root, std::string_view path) {
    std::shared_ptr<Node> node = Root(root);
    const bool opened = ForEachName(path, [this, &node](std::string_view name) {
        auto it = node->subkeys.find(name);
        if (it == node->subkeys.end()) {
            if (!ConsumeWrite()) return false;
            it = node->subkeys.emplace(std::string(name), std::make_shared<Node>()).first;
        }
        node = it->second;
        return true;
    });
    if (!opened) return nullptr;
    return std::make_unique<FakeKey>(*this, std::move(node), true);
}

bool FakeRegistry::KeyExists(RegistryRoot root, std::string_view path) { return Find(root, path) != nullptr; }

bool FakeRegistry::DeleteTree(RegistryRoot root, std::string_view path) {
    while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
    const std::size_t last_separator = path.rfind('\\');
    const std::string_view leaf = last_separator == std::string_view::npos ? path : path.substr(last_separator + 1);
    if (leaf.empty()) return false;  // never the whole root
    std::shared_ptr<Node> parent = Find(root, path.substr(0, path.size() - leaf.size()));
    if (!parent) return true;
    auto it = parent->subkeys.find(leaf);
    if (it == parent->subkeys.end()) return true;
    if (!ConsumeWrite()) return false;
    MarkDeleted(*it->second);
    parent->subkeys.erase(it);
    return true;
}

std::optional<uint32_t> FakeRegistry::ReadDword(RegistryRoot root, std::string_view path, std::string_view name) {
    const std::shared_ptr<Node> node = Find(root, path);
    return node ? DwordOf(FindValue(*node, name)) : std::nullopt;
}

void FakeRegistry::FailWritesAfter(int successful_writes) { writes_left_ = successful_writes; }

void FakeRegistry::PutBinary(RegistryRoot root, std::string_view path, const std::string& name) {
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
