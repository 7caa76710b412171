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

    constexpr uint32_t kRounds = 20000;
    std::atomic<bool> done{false};
    std::thread sink([&] {
        for (uint32_t round = 0; round < kRounds; ++round) {
            std::optional<StatusArea::SlotIndex> slot = area->AcquireSlot();
            area->ApplyProperty(*slot, MSPROPTAG_Recording, 0xFFFF);
            area->ApplyProperty(*slot, MSPROPTAG_TrackTime, 0x12345678);
            area->ClearSlot(*slot);
        }
        done = true;
    });
    uint32_t torn = 0;
    while (!done) {
        const MediaStatusSlot slot = ReadMediaStatusSlot(sink::fake::SlotOf(*bytes, 0));
        if (slot.lastState != 0 && slot.lastState != MSPROPTAG_Recording) ++torn;
        if (slot.trackTime != 0 && slot.trackTime != 0x12345678) ++torn;
        if (slot.sequence > kRounds) ++torn;
    }
    sink.join();
    EXPECT_EQ(torn, 0u);
}
