// The real serial ports and multimedia timers, and a port scan on a machine without ports.
#include "devices/serial_led_device.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_serial_ports.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>
#include <string>

using platform::TimerKind;

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
    const uint32_t id = timers.SetEvent(20, 1, counter, TimerKind::Periodic);
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
    const uint32_t id = timers.SetEvent(10, 1, counter, TimerKind::Periodic);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(WaitFor([&] { return counter.inside.load(); }));
    timers.KillEvent(id);
    EXPECT_FALSE(counter.inside);
}

TEST(Win32MultimediaTimers, OneShotFiresOnce) {
    platform::win32::Win32MultimediaTimers timers;
    Counter counter;
    ASSERT_NE(timers.SetEvent(5, 1, counter, TimerKind::OneShot), 0u);
    EXPECT_TRUE(WaitFor([&] { return counter.calls == 1; }));
    Sleep(50);
    EXPECT_EQ(counter.calls, 1);
}

TEST(Win32SerialPorts, MissingPortGivesFileNotFound) {
    platform::win32::Win32SerialPorts ports;
    auto opened = ports.Open("\\\\.\\COM200", platform::kGenericRead | platform::kGenericWrite);
    EXPECT_EQ(opened.port, nullptr);
    EXPECT_EQ(opened.error, platform::kErrorFileNotFound);
}

// The ports Windows itself knows: the values of HARDWARE\DEVICEMAP\SERIALCOMM ("COM1").
std::set<std::string> MappedPorts() {
    std::set<std::string> names;
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return names;
    for (DWORD index = 0;; ++index) {
        char name[256], data[256];
        DWORD name_length = sizeof name, data_length = sizeof data - 1, type = 0;
        if (RegEnumValueA(key, index, name, &name_length, nullptr, &type, reinterpret_cast<BYTE*>(data),
                          &data_length) != ERROR_SUCCESS)
            break;
        data[data_length] = '\0';
        if (type == REG_SZ) names.insert(data);
    }
    RegCloseKey(key);
    return names;
}

// On a machine without ports the device map is empty and the scan lists nothing. (Wine maps
// the host's serial device nodes, such as /dev/ttyS0, to COM ports: those may be listed.)
TEST(SerialPortScan, ListsNoPortThatWindowsDoesNotKnow) {
    struct Silent final : platform::MessageBoxes {
        void ShowError(const std::string&, const std::string&) override {}
    } message_boxes;
    platform::win32::Win32SerialPorts ports;
    platform::win32::Win32MultimediaTimers timers;
    platform::win32::Win32Registry registry;
    platform::win32::Win32Clock clock;
    const serial_led_services services{ports, timers, registry, clock, message_boxes};
    const std::set<std::string> mapped = MappedPorts();

    std::set<std::string> listed;
    for (int port = cSerialLedDevice::kFirstPort; port <= cSerialLedDevice::kLastPort; ++port) {
        cSerialLedDevice device(services, port);
        if (device.IsPresent()) listed.insert(device.Id());
    }
    for (const std::string& id : listed) EXPECT_TRUE(mapped.count(id)) << id;
}
