// A USB light under the engine: how many reports a minute of ticks sends, as
// reports per second, for a steady frame (the repair write only) and for a
// fast-blinking LED (one write per 250 ms phase), and what a tick costs with
// the light current.
#include "engine/led_engine.h"
#include "settings/led_vocabulary.h"
#include "tests/unit/fake_machine.h"

#include <benchmark/benchmark.h>

namespace {

constexpr const char* kPath = "blink1";
constexpr uint32_t kTickMs = 125;
constexpr int kTicksPerMinute = 60 * 1000 / kTickMs;

struct Machine : FakeMachine {
    explicit Machine(int8_t state) {
        hid.Plug(kPath, {0x27B8, 0x01ED, 2, 0, 9}, "20000001");
        engine.Devices().Refresh(nullptr, false);
        engine.OpenDevice(kPath);
        engine.Relations().Clear();
        engine.Relations().Add({event::PowerOn, 0, state, priority::Normal});
        engine.Relations().Add({event::PowerOn, 1, led_state::Blue, priority::Normal});
    }

    cWindowsVersion version{version_info, metrics, registry};
    cLedEngine engine{services, nullptr, version};
};

void ReportsPerSecond(benchmark::State& state, int8_t led_state) {
    Machine machine(led_state);
    std::size_t reports = 0;
    double seconds = 0;
    for (auto _ : state) {
        machine.hid.At(kPath).reports.clear();
        for (int i = 0; i < kTicksPerMinute; ++i) {
            machine.clock.Advance(kTickMs);
            machine.engine.Tick();
        }
        reports += machine.hid.At(kPath).reports.size();
        seconds += 60;
    }
    state.counters["reports_per_s"] = static_cast<double>(reports) / seconds;
    state.counters["ticks"] = benchmark::Counter(static_cast<double>(state.iterations()) * kTicksPerMinute,
                                                 benchmark::Counter::kIsRate);
}

void BM_SteadyFrame(benchmark::State& state) { ReportsPerSecond(state, led_state::Green); }
BENCHMARK(BM_SteadyFrame)->Unit(benchmark::kMicrosecond);

void BM_BlinkFast(benchmark::State& state) { ReportsPerSecond(state, led_state::BlinkFast); }
BENCHMARK(BM_BlinkFast)->Unit(benchmark::kMicrosecond);

}  // namespace
