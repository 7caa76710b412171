// The engine's tick over relation lists of growing length, its once-a-second
// gathering, and its tick while following Kodi, over the in-memory machine.
// The device is the fallback keyboard, which writes nothing: the figures are
// the engine's own.
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

// Ticks 125 ms apart with Kodi not followed (0), followed but not running, so
// that every fortieth tick tries its port and is refused (1), and connected,
// asking for the recordings every eighth tick and reading the answer (2).
void BM_TickWithKodi(benchmark::State& state) {
    Machine machine;
    AddRelations(machine.engine, 50);
    const int64_t kodi = state.range(0);
    if (kodi == 0) machine.engine.Kodi().SetFollowing(false);
    if (kodi == 2) machine.sockets.AnswerConnects(platform::fake::FakeStreamSockets::Answer::Accept);
    machine.engine.Tick();
    uint32_t ticks = 0;
    for (auto _ : state) {
        machine.clock.Advance(125);
        if (kodi == 2 && ++ticks % 8 == 0)
            machine.sockets.LastPeer()->Deliver(R"({"id":5,"jsonrpc":"2.0","result":{"timers":[]}})");
        machine.engine.Tick();
    }
    state.counters["connects"] = machine.sockets.Attempts();
}
BENCHMARK(BM_TickWithKodi)->Arg(0)->Arg(1)->Arg(2);

// A notification that arrived before a tick shows in that tick's frame: each
// iteration is one notification and the one tick that reads it.
void BM_KodiNotificationToFrame(benchmark::State& state) {
    Machine machine;
    machine.engine.Relations().Clear();
    machine.engine.Relations().Add({event::KodiPlaying, 0, led_state::On, priority::Normal});
    machine.sockets.AnswerConnects(platform::fake::FakeStreamSockets::Answer::Accept);
    machine.engine.Tick();
    bool playing = false;
    for (auto _ : state) {
        playing = !playing;
        machine.sockets.LastPeer()->Deliver(playing ? R"({"jsonrpc":"2.0","method":"Player.OnPlay"})"
                                                    : R"({"jsonrpc":"2.0","method":"Player.OnStop"})");
        machine.clock.Advance(125);
        machine.engine.Tick();
        if (((machine.engine.Events() & event::KodiPlaying) != 0) != playing) {
            state.SkipWithError("the frame missed the notification");
            break;
        }
    }
}
BENCHMARK(BM_KodiNotificationToFrame);

}  // namespace
