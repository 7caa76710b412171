// Neither a tick nor the gathering of every eighth tick allocates: they run
// eight times a second for as long as the machine is on.
#define GLIMMER_COUNT_ALLOCATIONS
#include "tests/unit/allocation_counter.h"
#include "tests/unit/engine_fixture.h"

using EngineAllocations = EngineFixture;

TEST_F(EngineAllocations, TicksAndGatheringsAllocateNothing) {
    Start();
    engine->LoadRelations();
    for (int i = 0; i < 50; ++i)
        engine->Relations().Add({event::PowerOn << (i % 27), i % 4, static_cast<int8_t>(i % 14),
                                 static_cast<int8_t>(i % 6)});
    engine->ShowOverride(1, led_state::Red, 100000);
    // Every source of the gathering answers: recordings and playback, a user
    // event stored and two missing, the execution state, Media Center's window.
    SetRecordings(2);
    SetSlot(2, msas::MSPROPTAG_Play);
    SetUserEventElsewhere(1, true);
    power.execution_state = platform::kEsSystemRequired;
    windows.classes.insert("eHome Render Window");
    Ticks(8);  // the first gathering meets the recordings
    ASSERT_EQ(engine->Events() & (event::UserEvent1 | event::McPlaying | event::SystemRequired | event::McIsRunning),
              event::UserEvent1 | event::McPlaying | event::SystemRequired | event::McIsRunning);

    for (int cycle = 0; cycle < 4; ++cycle) {
        power.last_input_time = clock.TickCount();
        const std::size_t before = g_allocations.load();
        Ticks(8);
        EXPECT_EQ(g_allocations.load() - before, 0u) << "cycle " << cycle;
    }
}
