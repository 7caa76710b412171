#include "platform/fake/fake_files.h"

namespace platform::fake {
namespace {

class FakeOutputFile final : public OutputFile {
public:
    explicit FakeOutputFile(std::shared_ptr<std::string> text) : text_(std::move(text)) {}
    void Write(std::string_view bytes) override { text_->append(bytes); }

private:
    std::shared_ptr<std::string> text_;
};

}  // namespace

std::unique_ptr<OutputFile> FakeFiles::Create(const std::string& name) {
    if (fail_create || linked_.count(name)) return nullptr;
    ++create_count_;
    // A new text replaces the old one: a writer of the earlier creation keeps its own.
    auto text = std::make_shared<std::string>();
    files_[name] = text;
    return std::make_unique<FakeOutputFile>(text);
}

void FakeFiles::Link(const std::string& name, const std::string& target) {
    auto& text = files_[target];
    if (!text) text = std::make_shared<std::string>();
    files_[name] = text;
    linked_.insert({name, target});
}

std::string FakeFiles::Text(const std::string& name) const {
    auto found = files_.find(name);
    return found == files_.end() ? std::string() : *found->second;
}

}  // namespace platform::fake
