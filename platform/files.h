#pragma once
// Files the program writes: only the detection log, which is rewritten from
// the beginning at each enumeration.

#include <memory>
#include <string>
#include <string_view>

namespace platform {

// One file open for writing. Closed when destroyed.
class OutputFile {
public:
    virtual ~OutputFile() = default;

    // Appends the bytes unchanged (no line-end translation); a failed write is dropped.
    virtual void Write(std::string_view bytes) = 0;
};

class Files {
public:
    virtual ~Files() = default;

    // Creates the file, or empties an existing one (relative names lie in the current
    // directory); null when it cannot be created.
    virtual std::unique_ptr<OutputFile> Create(const std::string& name) = 0;
};

}  // namespace platform
