#pragma once
// Named file mappings that another process created, opened read-only.

#include "platform/shared_area_reader.h"

namespace platform::win32 {

class Win32SharedAreaReader final : public SharedAreaReader {
public:
    std::unique_ptr<SharedAreaMapping> Open(const char* name) override;
};

}  // namespace platform::win32
