// One 20 ms level-control period of a serial device with three LEDs: the
// periodic callback (three lines on, two one-shots made, three line writes)
// and the two one-shot callbacks (three line writes each). The timers and the
// port only count, so the figure is the device's own work on the timer thread.

#include "devices/serial_led_device.h"
#include "engine/led_vocabulary.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"

#include <benchmark/benchmark.h>

#include <array>

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

// Timers that fire only when told: the periodic one, then every one-shot made meanwhile.
class DirectTimers final : public platform::MultimediaTimers {
public:
    uint32_t SetEvent(uint32_t, uint32_t, platform::TimerCallback& callback, platform::TimerKind kind) override {
        if (kind == platform::TimerKind::Periodic) {
            periodic_ = &callback;
            return kPeriodicId;
        }
        one_shots_[one_shot_count_] = {++next_id_, &callback};
        return one_shots_[one_shot_count_++].id;
    }
    bool KillEvent(uint32_t id) override {
        if (id == kPeriodicId) periodic_ = nullptr;
        return true;
    }
    void RunPeriod() {
        periodic_->OnTimer(kPeriodicId);
        for (int i = 0; i < one_shot_count_; ++i) one_shots_[i].callback->OnTimer(one_shots_[i].id);
        one_shot_count_ = 0;
    }

private:
    static constexpr uint32_t kPeriodicId = 1;
    struct OneShot {
        uint32_t id;
        platform::TimerCallback* callback;
    };
    platform::TimerCallback* periodic_ = nullptr;
    std::array<OneShot, 3> one_shots_{};
    int one_shot_count_ = 0;
    uint32_t next_id_ = kPeriodicId;
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
