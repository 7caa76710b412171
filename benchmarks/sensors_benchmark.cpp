// One recording-sensor sample, as the engine takes it once a second, over a
// fake media status area: map, read the 15 slots, fire the triggers, unmap.
#include "sensors/recording_sensor.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_shared_area_reader.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Counts the allocations of the measured loop: the steady path must make none.
std::atomic<long> allocations{0};

void PutSlot(uint8_t* area, int index, uint32_t sequence, int32_t last_state) {
    MediaStatusSlot slot{};
    slot.inUse = kMediaStatusSlotInUse;
    slot.sequence = sequence;
    slot.lastState = last_state;
    std::memcpy(area + MediaStatusSlotOffset(index), &slot, sizeof slot);
}

// recordings slots recording, one playing, the rest free; sampled once before
// timing, so that the triggers exist as they do in a running program.
void RecordingSensorSample(benchmark::State& state) {
    const int recordings = static_cast<int>(state.range(0));
    platform::fake::FakeClock clock;
    platform::fake::FakeSharedAreaReader reader;
    uint8_t* area = reader.Create(kMediaStatusAreaName).data();
    for (int slot = 0; slot < recordings; ++slot) PutSlot(area, slot, 100 + slot, msas::MSPROPTAG_Recording);
    if (recordings < static_cast<int>(kMediaStatusSlotCount)) PutSlot(area, recordings, 1, msas::MSPROPTAG_Play);
    cMceRecordingSensor sensor(reader, clock);
    sensor.Poll();

    const long allocations_before = allocations.load();
    for (auto _ : state) {
        sensor.Poll();
        benchmark::DoNotOptimize(sensor.RecordingCount());
    }
    state.counters["allocations"] =
        benchmark::Counter(static_cast<double>(allocations.load() - allocations_before), benchmark::Counter::kAvgIterations);
}
BENCHMARK(RecordingSensorSample)->Arg(0)->Arg(2)->Arg(15);

// The sink module is not running: the sample asks for the area and gives up.
void RecordingSensorSampleWithoutArea(benchmark::State& state) {
    platform::fake::FakeClock clock;
    platform::fake::FakeSharedAreaReader reader;
    cMceRecordingSensor sensor(reader, clock);
    for (auto _ : state) {
        sensor.Poll();
        benchmark::DoNotOptimize(sensor.RecordingCount());
    }
}
BENCHMARK(RecordingSensorSampleWithoutArea);

}  // namespace

// The replaced global allocation functions: plain malloc and free underneath,
// which GCC mistakes for a mismatch inside the replacement itself.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
