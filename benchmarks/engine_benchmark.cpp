// The engine's tick over relation lists of growing length, and its
// once-a-second gathering, over the in-memory machine. The device is the
// fallback keyboard, which writes nothing: the figures are the engine's own.
#define GLIMMER_COUNT_ALLOCATIONS
#include "tests/unit/allocation_counter.h"

#include "engine/led_engine.h"
#include "settings/led_vocabulary.h"
#include "tests/unit/fake_machine.h"

#include <benchmark/benchmark.h>

namespace {

struct Machine : FakeMachine {
    Machine() {
        // Two recordings and a playing session in the media status area.
        const int32_t states[] = {msas::MSPROPTAG_Recording, msas::MSPROPTAG_Recording, msas::MSPROPTAG_Play};
        for (std::size_t i = 0; i < std::size(states); ++i) SetSlot(i, states[i]);
        registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("UserEvent1", 1);
        windows.classes.insert("eHome Render Window");
    }

    cWindowsVersion version{version_info, metrics, registry};
    cLedEngine engine{services, nullptr, version};
};

// Relations over the three LEDs, the usual events and every priority.
void AddRelations(cLedEngine& engine, int count) {
    engine.Relations().Clear();
    for (int i = 0; i < count; ++i)
        engine.Relations().Add({event::PowerOn << (i % 27), i % 3, static_cast<int8_t>(2 + i % 12),
                                static_cast<int8_t>(1 + i % 5)});
}

void BM_Tick(benchmark::State& state) {
    Machine machine;
    AddRelations(machine.engine, static_cast<int>(state.range(0)));
    machine.engine.Tick();  // the first gathering meets the recordings
    std::size_t allocations = 0;
    uint32_t ticks = 0;
    for (auto _ : state) {
        machine.power.last_input_time = ++ticks / 16;  // input now and then
        const std::size_t before = g_allocations.load(std::memory_order_relaxed);
        machine.engine.Tick();  // every eighth one gathers
        allocations += g_allocations.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs"] = static_cast<double>(allocations);
}
BENCHMARK(BM_Tick)->Arg(10)->Arg(50)->Arg(200);

void BM_Gather(benchmark::State& state) {
    Machine machine;
    AddRelations(machine.engine, 50);
    machine.engine.Gather();  // the first gathering meets the recordings
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = g_allocations.load(std::memory_order_relaxed);
        machine.engine.Gather();
        allocations += g_allocations.load(std::memory_order_relaxed) - before;
    }
    state.counters["allocs_per_gather"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Gather);

}  // namespace
