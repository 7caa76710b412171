// The millisecond count that Windows XP offers, widened across its wraps.
#include "platform/widened_tick_count.h"

#include <gtest/gtest.h>

#include <vector>

TEST(WidenedTickCount, CountsEveryWrapAndNeverGoesBack) {
    std::atomic<uint64_t> last{0};
    const std::vector<uint32_t> readings = {5, 0xFFFFFFF0u, 0xFFFFFFFFu, 3, 3, 0x80000000u, 0xFFFFFFFFu, 0};
    const std::vector<uint64_t> widened = {5,           0xFFFFFFF0u,  0xFFFFFFFFu,  0x100000003u,
                                           0x100000003u, 0x180000000u, 0x1FFFFFFFFu, 0x200000000u};
    for (std::size_t i = 0; i < readings.size(); ++i)
        EXPECT_EQ(WidenedTickCount(last, [&] { return readings[i]; }), widened[i]) << "reading " << i;
}
