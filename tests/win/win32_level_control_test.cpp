// Level control over the real multimedia timers, on a port whose line writes
// take a millisecond each, as they do on a USB serial adapter: no timer
// callback may write the lines once the device stopped level control.
#include "devices/serial_led_device.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_registry.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "settings/led_vocabulary.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

namespace {

// What the ports of SlowPorts share. The port objects hold nothing themselves,
// so a write through one that was already closed is counted here, not a crash.
struct line_traffic {
    std::atomic<bool> open = false;
    std::atomic<bool> stopped = false;  // the test saw the device stop its timer
    std::atomic<DWORD> main_thread = 0;
    std::atomic<int> timer_writes = 0;
    std::atomic<int> stray_writes = 0;  // on a closed port, or after the stop returned
};
line_traffic traffic;

class SlowPort final : public platform::SerialPort {
public:
    ~SlowPort() override { traffic.open = false; }
    bool DisableLineControl() override { return true; }
    bool EscapeCommFunction(platform::CommFunction) override {
        Check();
        Sleep(1);
        Check();  // a write still under way when the port closed
        if (GetCurrentThreadId() != traffic.main_thread) ++traffic.timer_writes;
        return true;
    }
    std::optional<uint32_t> GetCommModemStatus() override { return 0; }

private:
    static void Check() {
        if (!traffic.open || traffic.stopped) ++traffic.stray_writes;
    }
};

class SlowPorts final : public platform::SerialPorts {
public:
    OpenResult Open(const std::string&, uint32_t) override {
        traffic.open = true;
        return {std::make_unique<SlowPort>(), 0};
    }
};

// Returns once the timer has written a line, and then a little later each cycle,
// so that the stop that follows meets the timer at another point of its writes.
void StopWhileTheTimerWrites(int cycle) {
    const int before = traffic.timer_writes;
    for (int waited = 0; traffic.timer_writes == before; ++waited) {
        ASSERT_LT(waited, 1000) << "the timer wrote nothing for a second";
        Sleep(1);
    }
    Sleep(static_cast<DWORD>(cycle % 7));
}

}  // namespace

TEST(Win32LevelControl, NoCallbackWritesAfterTheStopReturns) {
    traffic.main_thread = GetCurrentThreadId();
    platform::win32::Win32Clock clock;
    platform::win32::Win32MultimediaTimers timers;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    SlowPorts ports;
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)->WriteDword("SerialUSBDetectionDelay", 0);
    cSerialLedDevice device({ports, timers, registry, clock, message_boxes}, 1);
    ASSERT_TRUE(device.LevelControlSupported());
    device.SetLevelControl(true);

    constexpr int kCycles = 300;
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        traffic.stopped = false;
        ASSERT_TRUE(device.Activate());
        device.BeginUpdate();
        for (int led = 0; led < 3; ++led) {
            // Levels that end the lines at different points of the period.
            device.GetLed(led)->level = 10 + (cycle * 7 + led * 31) % 85;
            device.SetLedState(led, led_state::On, false);
        }
        device.EndUpdate(true);
        if (cycle % 3 == 0) {
            StopWhileTheTimerWrites(cycle);
            device.Suspend();
            traffic.stopped = true;
            Sleep(2);
            traffic.stopped = false;
            device.Resume();
        }
        StopWhileTheTimerWrites(cycle);
        device.Deactivate();
        traffic.stopped = true;
        Sleep(2);  // long enough for a stray callback's write to show
    }

    EXPECT_EQ(traffic.stray_writes, 0);
    EXPECT_TRUE(message_boxes.shown.empty());
}
