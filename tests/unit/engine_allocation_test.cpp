// A tick that does not gather allocates nothing: it runs eight times a
// second for as long as the machine is on.
#define GLIMMER_COUNT_ALLOCATIONS
#include "tests/unit/allocation_counter.h"
#include "tests/unit/engine_fixture.h"

using EngineAllocations = EngineFixture;

TEST_F(EngineAllocations, TicksBetweenGatheringsAllocateNothing) {
    Start();
    engine->LoadRelations();
    for (int i = 0; i < 50; ++i)
        engine->Relations().Add({event::PowerOn << (i % 27), i % 4, static_cast<int8_t>(i % 14),
                                 static_cast<int8_t>(i % 6)});
    engine->ShowOverride(1, led_state::Red, 100000);
    SetRecordings(2);
    Ticks(8);  // the first gathering sets everything up

    for (int cycle = 0; cycle < 4; ++cycle) {
        Ticks(1);  // gathers
        power.last_input_time = clock.TickCount();
        const std::size_t before = g_allocations.load();
        Ticks(7);
        EXPECT_EQ(g_allocations.load() - before, 0u) << "cycle " << cycle;
    }
}
