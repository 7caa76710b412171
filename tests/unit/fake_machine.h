#pragma once
// A whole machine in memory for one LED engine: registry, clock, power and
// sessions, the media status area, Kodi's port, serial ports and keyboards, wired into the
// services the engine takes. Engine tests and the engine benchmark script it.

#include "engine/led_engine.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_hid_devices.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_power.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_serial_ports.h"
#include "platform/fake/fake_sessions.h"
#include "platform/fake/fake_shared_area_reader.h"
#include "platform/fake/fake_stream_sockets.h"
#include "platform/fake/fake_system_metrics.h"
#include "platform/fake/fake_version_info.h"
#include "sink/media_status_slot.h"

#include <cstring>

struct FakeMachine {
    // A Media Center edition with an empty media status area.
    FakeMachine() { metrics.Set(platform::kSmMediaCenter, 1); }

    // The sink's side of the media status area: slot index in use with its last state tag.
    void SetSlot(std::size_t index, int32_t last_state) {
        MediaStatusSlot slot = {};
        slot.inUse = kMediaStatusSlotInUse;
        slot.sequence = static_cast<uint32_t>(index + 1);
        slot.lastState = last_state;
        std::memcpy(area.data() + MediaStatusSlotOffset(index), &slot, sizeof slot);
    }
    void ClearSlot(std::size_t index) { std::memset(area.data() + MediaStatusSlotOffset(index), 0, sizeof(MediaStatusSlot)); }

    platform::fake::FakeClock clock{1000};
    platform::fake::FakeRegistry registry;
    platform::fake::FakeMessageBoxes message_boxes;
    platform::fake::FakePower power;
    platform::fake::FakeWindowFinder windows;
    platform::fake::FakeSessions sessions;
    platform::fake::FakeSharedAreaReader areas;
    std::span<uint8_t, platform::fake::FakeSharedAreaReader::kAreaSize> area = areas.Create(kMediaStatusAreaName);
    platform::fake::FakeVersionInfo version_info;
    platform::fake::FakeSystemMetrics metrics;
    platform::fake::FakeSerialPorts ports{clock};
    platform::fake::FakeMultimediaTimers timers{clock};
    platform::fake::FakeKeyboards keyboards;
    platform::fake::FakeHidDevices hid;
    platform::fake::FakeStreamSockets sockets;  // nothing listens: Kodi is not running
    serial_led_services serial_services{ports, timers, registry, clock, message_boxes};
    led_engine_services services{serial_services, keyboards, hid, power, windows, sessions, areas, sockets};
};
