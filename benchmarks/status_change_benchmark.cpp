// The sink's share of one MediaStatusChange pair, per tag: the session's
// slot hold finds its area and folds the tag into the slot. The COM layer
// around it (reading the host's arrays, copying and converting each VARIANT)
// runs only on Windows and is not measured here.
#include "sink/fake/memory_areas.h"
#include "sink/session_slot.h"

#include <benchmark/benchmark.h>

namespace {

constexpr uint32_t kTrue = 0xFFFF;

std::shared_ptr<AreaShare> MemoryShare(sink::fake::MemoryAreas& areas) {
    return AreaShare::Join([&] { return StatusArea::Make(areas.NewBacking(), kMediaStatusAreaName, areas.Milliseconds()); });
}

void ApplyOneTag(benchmark::State& state) {
    const auto tag = static_cast<int32_t>(state.range(0));
    sink::fake::MemoryAreas areas;
    std::shared_ptr<AreaShare> share = MemoryShare(areas);
    SessionSlot slot = SessionSlot::Acquire(share);
    uint32_t value = kTrue;
    for (auto _ : state) {
        slot.Apply(tag, value);
        value ^= kTrue;  // alternate true and false, as a host toggling a state would
        benchmark::ClobberMemory();
    }
}

// State tags, a placeholder with the state bit, track time, an experience,
// a picture, the disc writer, a tag the slot ignores, and MSPROPTAG_Unknown.
BENCHMARK(ApplyOneTag)
    ->ArgName("tag")
    ->Arg(msas::MSPROPTAG_Play)
    ->Arg(msas::MSPROPTAG_Recording)
    ->Arg(msas::MSPROPTAG_Application)
    ->Arg(msas::MSPROPTAG_TrackTime)
    ->Arg(msas::MSPROPTAG_FS_TV)
    ->Arg(msas::MSPROPTAG_CurrentPicture)
    ->Arg(msas::MSPROPTAG_DiscWriter_Start)
    ->Arg(0x2017)  // MSPROPTAG_MediaName
    ->Arg(msas::MSPROPTAG_Unknown);

// A session that outlived its sink: every pair finds the area gone.
void ApplyAfterTheSinkIsGone(benchmark::State& state) {
    sink::fake::MemoryAreas areas;
    std::shared_ptr<AreaShare> share = MemoryShare(areas);
    SessionSlot slot = SessionSlot::Acquire(share);
    share.reset();
    for (auto _ : state) slot.Apply(msas::MSPROPTAG_Play, kTrue);
}
BENCHMARK(ApplyAfterTheSinkIsGone);

}  // namespace
