// One 20 ms level-control period of a serial device with three LEDs at 50,
// 25 and 100 percent: twenty millisecond ticks, of which three write the
// lines. The timer and the port only count, so the figure is the device's own
// work on the timer thread.

#include "devices/serial_led_device.h"
#include "engine/led_vocabulary.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"

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

void LevelControlPeriod(benchmark::State& state) {
    platform::fake::FakeClock clock;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    CountingPorts ports;
    DirectTimers timers;
    cSerialLedDevice device({ports, timers, registry, clock, message_boxes}, 1);
    device.SetLevelControl(true);
    device.Activate();
    device.BeginUpdate();
    const int levels[] = {50, 25, 100};
    for (int led = 0; led < 3; ++led) {
        device.GetLed(led)->level = levels[led];
        device.SetLedState(led, led_state::On, false);
    }
    device.EndUpdate(true);

    const int writes_before = ports.writes;
    for (auto _ : state) timers.RunPeriod();
    state.counters["line writes per period"] =
        static_cast<double>(ports.writes - writes_before) / static_cast<double>(state.iterations());
}
BENCHMARK(LevelControlPeriod);

}  // namespace
