#pragma once
// The system's metrics and configuration flags, by their GetSystemMetrics index.

namespace platform {

inline constexpr int kSmMediaCenter = 87;         // non-zero on a Media Center edition
inline constexpr int kSmRemoteSession = 0x1000;  // non-zero in a remote desktop session

class SystemMetrics {
public:
    virtual ~SystemMetrics() = default;

    // GetSystemMetrics(index): the metric, 0 for an unknown index.
    virtual int Get(int index) = 0;
};

}  // namespace platform
