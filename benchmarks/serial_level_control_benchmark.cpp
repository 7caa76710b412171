// What a serial device with three LEDs costs the machine: with level control
// on, the timer wake-ups and line writes per second of simulated time while
// the engine sends its 125 ms frames, for every LED full or dark, for one LED
// dimmed and for one dimmed LED blinking slowly; and the line writes per
// frame without level control. The port only counts, so the time is the
// device's own work.

#include "devices/serial_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_registry.h"
#include "settings/led_vocabulary.h"

#include <benchmark/benchmark.h>

namespace {

class CountingPort final : public platform::SerialPort {
public:
    explicit CountingPort(int64_t& writes) : writes_(writes) {}
    bool DisableLineControl() override { return true; }
    bool EscapeCommFunction(platform::CommFunction) override { return ++writes_ != 0; }
    std::optional<uint32_t> GetCommModemStatus() override { return 0; }

private:
    int64_t& writes_;
};

class CountingPorts final : public platform::SerialPorts {
public:
    OpenResult Open(const std::string&, uint32_t) override { return {std::make_unique<CountingPort>(writes), 0}; }
    int64_t writes = 0;
};

// The fake timers, counting every callback: each one is a wake-up of the machine.
class CountingTimers final : public platform::MultimediaTimers {
public:
    explicit CountingTimers(platform::fake::FakeClock& clock) : timers_(clock) {}
    uint32_t SetEvent(uint32_t period_ms, uint32_t resolution_ms, platform::TimerCallback& callback) override {
        counted_.target = &callback;
        return timers_.SetEvent(period_ms, resolution_ms, counted_);
    }
    bool KillEvent(uint32_t timer_id) override { return timers_.KillEvent(timer_id); }
    int64_t wake_ups() const { return counted_.calls; }

private:
    struct Counted final : platform::TimerCallback {
        void OnTimer(uint32_t id) override {
            ++calls;
            target->OnTimer(id);
        }
        platform::TimerCallback* target = nullptr;
        int64_t calls = 0;
    };
    platform::fake::FakeMultimediaTimers timers_;
    Counted counted_;
};

constexpr uint32_t kTickMs = 125;
constexpr int kTicksPerCycle = 16;  // the blink rhythm: two seconds

// A serial device on COM1 with three plain LEDs, opened.
struct bench_device {
    explicit bench_device(bool level_control) {
        if (level_control) device.SetLevelControl(true);
        device.Activate();
    }
    // One engine tick: a frame with LED 0 in state at level, LED 1 dark and LED 2 on at full level.
    void Tick(int8_t state, int level) {
        device.BeginUpdate();
        device.GetLed(0)->level = level;
        device.SetLedState(0, state, false);
        device.SetLedState(1, led_state::Off, false);
        device.SetLedState(2, led_state::On, false);
        device.EndUpdate(true);
        device.AdvancePhase();
        clock.Advance(kTickMs);
    }

    platform::fake::FakeClock clock;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    CountingPorts ports;
    CountingTimers timers{clock};
    cSerialLedDevice device{{ports, timers, registry, clock, message_boxes}, 1};
};

// Level control on; LED 0 on at full level (0), dimmed to 50 percent (1), or dimmed and blinking slowly (2).
void LevelControlSecond(benchmark::State& state) {
    static constexpr struct {
        int8_t state;
        int level;
    } kShows[] = {{led_state::On, 100}, {led_state::On, 50}, {led_state::BlinkSlow, 50}};
    const auto show = kShows[state.range(0)];
    bench_device bench(true);
    for (int tick = 0; tick < kTicksPerCycle; ++tick) bench.Tick(show.state, show.level);  // past the opening writes

    const int64_t writes_before = bench.ports.writes;
    const int64_t wake_ups_before = bench.timers.wake_ups();
    for (auto _ : state)
        for (int tick = 0; tick < kTicksPerCycle; ++tick) bench.Tick(show.state, show.level);
    const double seconds = static_cast<double>(state.iterations()) * kTicksPerCycle * kTickMs / 1000.0;
    state.counters["wake-ups/s"] = static_cast<double>(bench.timers.wake_ups() - wake_ups_before) / seconds;
    state.counters["line writes/s"] = static_cast<double>(bench.ports.writes - writes_before) / seconds;
}
BENCHMARK(LevelControlSecond)->ArgName("full0_dimmed1_blinking2")->DenseRange(0, 2);

// Frames without level control, one per 125 ms tick, with LED 0 lit (1) or dark (0).
void SteadyFrame(benchmark::State& state) {
    bench_device bench(false);
    const int8_t shown = state.range(0) ? led_state::On : led_state::Off;
    bench.Tick(shown, 100);  // the first frame after opening writes every line

    const int64_t writes_before = bench.ports.writes;
    for (auto _ : state) bench.Tick(shown, 100);
    state.counters["line writes per frame"] =
        static_cast<double>(bench.ports.writes - writes_before) / static_cast<double>(state.iterations());
}
BENCHMARK(SteadyFrame)->ArgName("lit")->Arg(1)->Arg(0);

}  // namespace
