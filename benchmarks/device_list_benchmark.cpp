// A full device enumeration on a machine without serial ports: 256 port
// names tried and dropped, then the keyboard class key read, as at start-up
// and on "Refresh devices".
#include "devices/led_device_list.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_hid_devices.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_serial_ports.h"

#include <benchmark/benchmark.h>

namespace {

void RefreshOverAbsentPorts(benchmark::State& state) {
    platform::fake::FakeClock clock;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers timers{clock};
    platform::fake::FakeMessageBoxes message_boxes;
    platform::fake::FakeKeyboards keyboards;
    platform::fake::FakeHidDevices hid;
    cLedDeviceList list({ports, timers, registry, clock, message_boxes}, keyboards, hid);
    for (auto _ : state) {
        list.Refresh(nullptr, false);
        benchmark::DoNotOptimize(list.Count());
    }
}
BENCHMARK(RefreshOverAbsentPorts)->Unit(benchmark::kMicrosecond);

}  // namespace
