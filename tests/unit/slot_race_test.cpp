// The sink writing slots while the program reads them, in two threads. Built
// with ThreadSanitizer: any store or load of a slot field that is not whole
// and ordered is reported as a data race and fails the run.
#include "sink/fake/memory_areas.h"
#include "sink/status_area.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace msas;

TEST(SlotRace, TheProgramReadsWholeFieldsWhileTheSinkWrites) {
    sink::fake::MemoryAreas areas;
    std::shared_ptr<StatusArea> area = StatusArea::Make(areas.NewBacking(), kMediaStatusAreaName, areas.Milliseconds());
    sink::fake::MemoryAreas::Reader bytes = areas.Open(kMediaStatusAreaName);
    ASSERT_TRUE(area && bytes);

    constexpr uint32_t kRounds = 100000;
    std::atomic<bool> done{false};
    // Odd while the sink ends a session, the one thing that zeroes the number of a slot in
    // use: a reading between two equal even counts must find a slot in use numbered.
    std::atomic<uint32_t> endings{0};
    std::thread sink([&] {
        for (uint32_t round = 0; round < kRounds; ++round) {
            std::optional<StatusArea::SlotIndex> slot = area->AcquireSlot();
            area->ApplyProperty(*slot, MSPROPTAG_Recording, 0xFFFF);
            area->ApplyProperty(*slot, MSPROPTAG_TrackTime, 0x12345678);
            endings.fetch_add(1);
            area->ClearSlot(*slot);
            endings.fetch_add(1);
        }
        done = true;
    });
    uint32_t torn = 0;
    uint32_t unnumbered = 0;
    const MediaStatusSlot& shared = sink::fake::SlotOf(*bytes, 0);
    while (!done) {
        // In use, then the number, as the program reads them.
        const uint32_t endings_before = endings.load();
        const bool in_use = LoadSlotField(shared.inUse, std::memory_order_acquire) == kMediaStatusSlotInUse;
        const uint32_t sequence = LoadSlotField(shared.sequence);
        const bool no_ending = endings_before % 2 == 0 && endings.load() == endings_before;
        if (in_use && sequence == 0 && no_ending) ++unnumbered;

        const MediaStatusSlot slot = ReadMediaStatusSlot(shared);
        if (slot.lastState != 0 && slot.lastState != MSPROPTAG_Recording) ++torn;
        if (slot.trackTime != 0 && slot.trackTime != 0x12345678) ++torn;
        if (slot.sequence > kRounds) ++torn;
    }
    sink.join();
    EXPECT_EQ(torn, 0u);
    EXPECT_EQ(unnumbered, 0u) << "a slot in use always has its number";
}
