#pragma once
// A 32-bit millisecond count, which wraps every 49.7 days, widened to 64
// bits: each wrap is counted when a reading comes out below the last one
// returned. Safe from any thread, as long as some thread reads more often
// than once per wrap.

#include <atomic>
#include <cstdint>

// read_count() is the 32-bit count; last holds the widened value last returned.
template <typename ReadCount>
uint64_t WidenedTickCount(std::atomic<uint64_t>& last, ReadCount&& read_count) {
    uint64_t seen = last.load();
    for (;;) {
        const uint32_t now = read_count();  // read after seen: never behind it but for a wrap
        uint64_t widened = (seen & ~uint64_t{0xFFFFFFFF}) | now;
        if (widened < seen) widened += uint64_t{1} << 32;
        if (last.compare_exchange_weak(seen, widened)) return widened;
    }
}
