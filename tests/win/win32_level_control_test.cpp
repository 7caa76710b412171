// Level control over the real multimedia timers, on a port whose line writes
// take a millisecond each, as they do on a USB serial adapter: no timer
// callback may write the lines once the device stopped level control or a
// frame without a dimmed line stopped its timer.
#include "devices/serial_led_device.h"
#include "devices/serial_lines.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

namespace {

// What the ports of SlowPorts share. The port objects hold nothing but a reference
// to it, so a write through one that was already closed is counted here, not a crash.
struct line_traffic {
    std::atomic<bool> open = false;
    std::atomic<bool> stopped = false;  // the test saw the device stop its timer
    std::atomic<DWORD> main_thread = 0;
    std::atomic<int> timer_writes = 0;
    std::atomic<int> stray_writes = 0;  // on a closed port, or after the stop returned
    std::atomic<uint32_t> lines_on = 0;  // the output bits of the lines now on
};

class SlowPort final : public platform::SerialPort {
public:
    explicit SlowPort(line_traffic& traffic) : traffic(traffic) {}
    ~SlowPort() override { traffic.open = false; }
    bool DisableLineControl() override { return true; }
    bool EscapeCommFunction(platform::CommFunction function) override {
        Check();
        Sleep(1);
        Check();  // a write still under way when the port closed
        for (const serial_line& line : kSerialLines) {
            if (function == line.on) traffic.lines_on |= line.bit;
            if (function == line.off) traffic.lines_on &= ~line.bit;
        }
        if (GetCurrentThreadId() != traffic.main_thread) ++traffic.timer_writes;
        return true;
    }
    std::optional<uint32_t> GetCommModemStatus() override { return 0; }

private:
    line_traffic& traffic;

    void Check() {
        if (!traffic.open || traffic.stopped) ++traffic.stray_writes;
    }
};

class SlowPorts final : public platform::SerialPorts {
public:
    explicit SlowPorts(line_traffic& traffic) : traffic(traffic) {}
    OpenResult Open(const std::string&, uint32_t) override {
        traffic.open = true;
        return {std::make_unique<SlowPort>(traffic), 0};
    }

private:
    line_traffic& traffic;
};

// Returns once the timer has written a line, and then a little later each cycle,
// so that the stop that follows meets the timer at another point of its writes.
void StopWhileTheTimerWrites(const line_traffic& traffic, int cycle) {
    const int before = traffic.timer_writes;
    for (int waited = 0; traffic.timer_writes == before; ++waited) {
        ASSERT_LT(waited, 1000) << "the timer wrote nothing for a second";
        Sleep(1);
    }
    Sleep(static_cast<DWORD>(cycle % 7));
}

// The probe of a port of unknown type waits for an adapter; these ports answer at once.
platform::Registry& WithoutProbeDelay(platform::fake::FakeRegistry& registry) {
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("SerialUSBDetectionDelay", 0);
    return registry;
}

// COM1 with three plain LEDs and level control on, over the real timers.
class Win32LevelControl : public testing::Test {
protected:
    void SetUp() override {
        traffic.main_thread = GetCurrentThreadId();
        ASSERT_TRUE(device.LevelControlSupported());
        device.SetLevelControl(true);
    }
    void TearDown() override {
        EXPECT_EQ(traffic.stray_writes, 0);
        EXPECT_TRUE(message_boxes.shown.empty());
    }

    // One frame with the three LEDs "On" at these levels.
    void Show(const int (&levels)[3]) {
        device.BeginUpdate();
        for (int led = 0; led < 3; ++led) {
            device.GetLed(led)->level = levels[led];
            device.SetLedState(led, led_state::On, false);
        }
        device.EndUpdate(true);
    }

    line_traffic traffic;
    platform::win32::Win32Clock clock;
    platform::win32::Win32MultimediaTimers timers;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    SlowPorts ports{traffic};
    cSerialLedDevice device{{ports, timers, WithoutProbeDelay(registry), clock, message_boxes}, 1};
};

}  // namespace

TEST_F(Win32LevelControl, NoCallbackWritesAfterTheStopReturns) {
    constexpr int kCycles = 300;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        traffic.stopped = false;
        ASSERT_TRUE(device.Activate());
        // Levels that end the lines at different points of the period.
        Show({10 + cycle * 7 % 85, 10 + (cycle * 7 + 31) % 85, 10 + (cycle * 7 + 62) % 85});
        if (cycle % 3 == 0) {
            StopWhileTheTimerWrites(traffic, cycle);
            device.Suspend();
            traffic.stopped = true;
            Sleep(2);
            traffic.stopped = false;
            device.Resume();
        }
        StopWhileTheTimerWrites(traffic, cycle);
        device.Deactivate();
        traffic.stopped = true;
        Sleep(2);  // long enough for a stray callback's write to show
    }
}

TEST_F(Win32LevelControl, FramesWithoutADimmedLineStopTheTimerAndShowTheirLines) {
    ASSERT_TRUE(device.Activate());
    constexpr int kCycles = 400;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        traffic.stopped = false;
        Show({10 + cycle * 7 % 85, 0, 100 * (cycle & 1)});
        StopWhileTheTimerWrites(traffic, cycle);
        // Full or dark: the frame stops the timer and writes the lines itself.
        const bool dtr = cycle % 3 != 0, txd = cycle % 2 == 0;
        Show({dtr ? 100 : 0, 0, txd ? 100 : 0});
        traffic.stopped = true;
        ASSERT_EQ(traffic.lines_on, (dtr ? 0x1u : 0u) | (txd ? 0x4u : 0u)) << "cycle " << cycle;
        Sleep(static_cast<DWORD>(cycle % 4));  // long enough for a stray callback's write to show
    }
    traffic.stopped = false;
    device.Deactivate();
    EXPECT_EQ(traffic.lines_on, 0u);
}
