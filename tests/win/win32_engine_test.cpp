// The engine over the real platform: it binds the power library and the
// power-setting registration, registers its window for session changes,
// gathers what another process leaves in the registry and the media status
// area, and allocates nothing once running.
#define GLIMMER_COUNT_ALLOCATIONS
#include "tests/unit/allocation_counter.h"

#include "engine/led_engine.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_stream_sockets.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_hid_devices.h"
#include "platform/win32/win32_keyboards.h"
#include "platform/win32/win32_multimedia_timers.h"
#include "platform/win32/win32_power.h"
#include "platform/win32/win32_serial_ports.h"
#include "platform/win32/win32_sessions.h"
#include "platform/win32/win32_shared_area_reader.h"
#include "platform/win32/win32_system_metrics.h"
#include "platform/win32/win32_version_info.h"
#include "sink/media_status_slot.h"
#include "tests/common/registry_fixture.h"

#include <windows.h>

#include <cstring>

class Win32Engine : public RegistryFixture {
protected:
    void SetUp() override {
        RegistryFixture::SetUp();
        window_ = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(window_);
        area_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kMediaStatusAreaSize,
                                   kMediaStatusAreaName);
        ASSERT_TRUE(area_);
        view_ = MapViewOfFile(area_, FILE_MAP_WRITE, 0, 0, 0);
        ASSERT_TRUE(view_);
    }
    void TearDown() override {
        if (view_) UnmapViewOfFile(view_);
        if (area_) CloseHandle(area_);
        if (window_) DestroyWindow(window_);
        RegistryFixture::TearDown();
    }
    void SetRecordingSlot(std::size_t index) {
        MediaStatusSlot slot = {};
        slot.inUse = kMediaStatusSlotInUse;
        slot.sequence = static_cast<uint32_t>(index + 1);
        slot.lastState = msas::MSPROPTAG_Recording;
        std::memcpy(static_cast<char*>(view_) + MediaStatusSlotOffset(index), &slot, sizeof slot);
    }

    HWND window_ = nullptr;
    HANDLE area_ = nullptr;
    void* view_ = nullptr;
};

TEST_F(Win32Engine, StartsWithoutComplaintGathersFromTheSystemAndAllocatesNothingOnceRunning) {
    platform::win32::Win32Clock clock;
    platform::fake::FakeMessageBoxes message_boxes;
    platform::win32::Win32SerialPorts ports;
    platform::win32::Win32MultimediaTimers timers;
    platform::win32::Win32Keyboards keyboards;
    platform::win32::Win32HidDevices hid;
    platform::win32::Win32Power power;
    platform::win32::Win32WindowFinder windows;
    platform::win32::Win32Sessions sessions;
    platform::win32::Win32SharedAreaReader areas;
    platform::fake::FakeStreamSockets sockets;  // nothing listens: Kodi is not running
    platform::win32::Win32VersionInfo version_info;
    platform::win32::Win32SystemMetrics metrics;
    const serial_led_services serial{ports, timers, registry(), clock, message_boxes};
    const led_engine_services services{serial, keyboards, hid, power, windows, sessions, areas, sockets};
    cWindowsVersion version(version_info, metrics, registry());

    cLedEngine engine(services, window_, version);
    EXPECT_TRUE(message_boxes.shown.empty()) << "powrprof.dll and User32.dll bind by name";

    SetRecordingSlot(0);
    SetRecordingSlot(3);
    ProgramKey()->WriteDword("UserEvent2", 1);
    engine.Tick();
    const uint32_t expected = event::PowerOn | event::AlwaysOn | (event::Recording1 << 1) | event::UserEvent2;
    EXPECT_EQ(engine.Events() & expected, expected);
    EXPECT_FALSE(engine.Events() & event::McIsRunning) << "no Media Center window here";

    const std::size_t before = g_allocations.load();
    for (int tick = 0; tick < 16; ++tick) engine.Tick();  // two of them gather
    EXPECT_EQ(g_allocations.load() - before, 0u);
}
