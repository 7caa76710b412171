#pragma once
// GetSystemMetrics.

#include "platform/system_metrics.h"

namespace platform::win32 {

class Win32SystemMetrics final : public SystemMetrics {
public:
    int Get(int index) override;
};

}  // namespace platform::win32
