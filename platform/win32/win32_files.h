#pragma once

#include "platform/files.h"

namespace platform::win32 {

class Win32Files final : public Files {
public:
    std::unique_ptr<OutputFile> Create(const std::string& name) override;
};

}  // namespace platform::win32
