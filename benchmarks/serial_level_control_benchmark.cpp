// Line writes of a serial device with three LEDs: per 20 ms level-control
// period (twenty millisecond ticks) at a dimmed, full and dark level, and per
// frame without level control. The timer and the port only count, so the time
// is the device's own work.

#include "devices/serial_led_device.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"
#include "settings/led_vocabulary.h"

#include <benchmark/benchmark.h>


namespace {

class CountingPort final : public platform::SerialPort {
public:
    explicit CountingPort(int& writes) : writes_(writes) {}
    bool DisableLineControl() override { return true; }
    bool EscapeCommFunction(platform::CommFunction) override { return ++writes_ != 0; }
    std::optional<uint32_t> GetCommModemStatus() override { return 0; }

private:
    int& writes_;
};

class CountingPorts final : public platform::SerialPorts {
public:
    OpenResult Open(const std::string&, uint32_t) override { return {std::make_unique<CountingPort>(writes), 0}; }
    int writes = 0;
};

// A timer that ticks only when told.
class DirectTimers final : public platform::MultimediaTimers {
public:
    uint32_t SetEvent(uint32_t, uint32_t, platform::TimerCallback& callback) override {
        tick_ = &callback;
        return kId;
    }
    bool KillEvent(uint32_t) override {
        tick_ = nullptr;
        return true;
    }
    // The 20 millisecond ticks of one level period.
    void RunPeriod() {
        for (int ms = 0; ms < 20; ++ms) tick_->OnTimer(kId);
    }

private:
    static constexpr uint32_t kId = 1;
    platform::TimerCallback* tick_ = nullptr;
};

// A serial device on COM1 with three plain LEDs, opened.
struct bench_device {
    explicit bench_device(bool level_control) {
        if (level_control) device.SetLevelControl(true);
        device.Activate();
    }
    // One frame with every LED in this state at this level.
    void Show(int8_t state, int level) {
        device.BeginUpdate();
        for (int led = 0; led < 3; ++led) {
            device.GetLed(led)->level = level;
            device.SetLedState(led, state, false);
        }
        device.EndUpdate(true);
    }

    platform::fake::FakeClock clock;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    CountingPorts ports;
    DirectTimers timers;
    cSerialLedDevice device{{ports, timers, registry, clock, message_boxes}, 1};
};

// Level control with every LED at the level given: 50 (dimmed), 100 (full) or 0 (dark).
void LevelControlPeriod(benchmark::State& state) {
    bench_device bench(true);
    bench.Show(led_state::On, static_cast<int>(state.range(0)));
    bench.timers.RunPeriod();  // the first period after opening writes every line

    const int writes_before = bench.ports.writes;
    for (auto _ : state) bench.timers.RunPeriod();
    state.counters["line writes per period"] =
        static_cast<double>(bench.ports.writes - writes_before) / static_cast<double>(state.iterations());
}
BENCHMARK(LevelControlPeriod)->ArgName("level")->Arg(50)->Arg(100)->Arg(0);

// Frames without level control, one per 125 ms tick, with every LED lit (1) or dark (0).
void SteadyFrame(benchmark::State& state) {
    bench_device bench(false);
    const int8_t shown = state.range(0) ? led_state::On : led_state::Off;
    bench.Show(shown, 100);  // the first frame after opening writes every line

    const int writes_before = bench.ports.writes;
    for (auto _ : state) {
        bench.clock.Advance(125);
        bench.Show(shown, 100);
    }
    state.counters["line writes per frame"] =
        static_cast<double>(bench.ports.writes - writes_before) / static_cast<double>(state.iterations());
}
BENCHMARK(SteadyFrame)->ArgName("lit")->Arg(1)->Arg(0);

}  // namespace
