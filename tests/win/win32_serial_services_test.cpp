// The real serial ports and multimedia timers.
#include "platform/win32/win32_multimedia_timers.h"
#include "platform/win32/win32_serial_ports.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>

namespace {

struct Counter final : platform::TimerCallback {
    void OnTimer(uint32_t id) override {
        last_id = id;
        inside = true;
        Sleep(delay_ms);
        inside = false;
        ++calls;
    }
    std::atomic<uint32_t> last_id = 0;
    std::atomic<bool> inside = false;
    std::atomic<int> calls = 0;
    DWORD delay_ms = 0;
};

// Waits until the condition holds or two seconds passed.
template <typename Condition>
bool WaitFor(Condition condition) {
    for (int i = 0; i < 200 && !condition(); ++i) Sleep(10);
    return condition();
}

}  // namespace

TEST(Win32MultimediaTimers, PeriodicTimerRepeatsUntilKilled) {
    platform::win32::Win32MultimediaTimers timers;
    Counter counter;
    const uint32_t id = timers.SetEvent(20, 1, counter);
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(WaitFor([&] { return counter.calls >= 3; }));
    EXPECT_EQ(counter.last_id, id);
    EXPECT_TRUE(timers.KillEvent(id));
    const int calls = counter.calls;
    Sleep(100);
    EXPECT_EQ(counter.calls, calls);
    EXPECT_FALSE(timers.KillEvent(id));
}

TEST(Win32MultimediaTimers, KillWaitsForTheCallbackInProgress) {
    platform::win32::Win32MultimediaTimers timers;
    Counter counter;
    counter.delay_ms = 50;
    const uint32_t id = timers.SetEvent(10, 1, counter);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(WaitFor([&] { return counter.inside.load(); }));
    timers.KillEvent(id);
    EXPECT_FALSE(counter.inside);
}

TEST(Win32SerialPorts, MissingPortGivesFileNotFound) {
    platform::win32::Win32SerialPorts ports;
    auto opened = ports.Open("\\\\.\\COM200", platform::kGenericRead | platform::kGenericWrite);
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.error, platform::kErrorFileNotFound);
}
