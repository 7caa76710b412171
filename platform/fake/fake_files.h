#pragma once
// Files kept in memory by name, so tests can compare their exact bytes.
// Creation can be made to fail; a file with a second name is refused, as the
// real service refuses links.

#include "platform/files.h"

#include <map>
#include <set>
#include <memory>
#include <string>

namespace platform::fake {

class FakeFiles final : public Files {
public:
    std::unique_ptr<OutputFile> Create(const std::string& name) override;

    // The bytes of a file; empty when it was never created.
    std::string Text(const std::string& name) const;
    bool Exists(const std::string& name) const { return files_.count(name) != 0; }
    // How many times a file was created (or emptied by creating it again).
    int CreateCount() const { return create_count_; }
    // Gives the file target (made empty when missing) the second name name.
    void Link(const std::string& name, const std::string& target);

    bool fail_create = false;  // every Create fails, as on a read-only folder

private:
    std::map<std::string, std::shared_ptr<std::string>> files_;
    std::set<std::string> linked_;  // names of files that have more than one
    int create_count_ = 0;
};

}  // namespace platform::fake
