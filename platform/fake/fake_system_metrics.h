#pragma once
// System metrics set by the test; every metric not set is 0.

#include "platform/system_metrics.h"

#include <map>

namespace platform::fake {

class FakeSystemMetrics final : public SystemMetrics {
public:
    int Get(int index) override {
        auto it = metrics_.find(index);
        return it == metrics_.end() ? 0 : it->second;
    }

    void Set(int index, int value) { metrics_[index] = value; }

private:
    std::map<int, int> metrics_;
};

}  // namespace platform::fake
