#pragma once
// A whole machine in memory for one LED engine: registry, clock, power and
// sessions, the media status area, serial ports and keyboards. A test
// scripts the machine, starts the engine and reads the light off the device.

#include "engine/led_engine.h"
#include "engine/led_vocabulary.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_keyboards.h"
#include "platform/fake/fake_message_boxes.h"
#include "platform/fake/fake_multimedia_timers.h"
#include "platform/fake/fake_power.h"
#include "platform/fake/fake_registry.h"
#include "platform/fake/fake_serial_ports.h"
#include "platform/fake/fake_sessions.h"
#include "platform/fake/fake_shared_area_reader.h"
#include "platform/fake/fake_system_metrics.h"
#include "platform/fake/fake_version_info.h"
#include "sink/media_status_slot.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

class EngineFixture : public testing::Test {
protected:
    static constexpr int kTickMs = 125;

    EngineFixture() { metrics.Set(platform::kSmMediaCenter, 1); }

    cLedEngine& Start() {
        version = std::make_unique<cWindowsVersion>(version_info, metrics, registry);
        engine = std::make_unique<cLedEngine>(services, window(), *version);
        sessions.SetWindowProcedure([this](const platform::fake::FakeSessions::SentMessage& message) {
            if (engine) engine->OnSessionChange(message.code, message.session_id);
        });
        return *engine;
    }
    // Starts the engine and opens a full-colour module (common cathode) on COM1:
    // one LED whose colours light DTR (red, 0x1), RTS (green, 0x2) and TXD (blue, 0x4).
    cLedEngine& StartWithColourLed() {
        ports.AddPort(1, {.dtr = platform::kMsRlsdOn});
        return StartAndOpen("COM1");
    }
    // Starts the engine and opens a port without a module: three plain LEDs on 0x1, 0x2 and 0x4.
    cLedEngine& StartWithThreeLeds() {
        ports.AddPort(1);
        return StartAndOpen("COM1");
    }
    cLedEngine& StartAndOpen(const std::string& id) {
        Start();
        engine->Devices().Refresh(nullptr, false);
        engine->OpenDevice(id);
        EXPECT_EQ(engine->CurrentDevice().Id(), id);
        return *engine;
    }
    // Replaces the relation list.
    void Relate(std::initializer_list<led_relation> relations) {
        engine->Relations().Clear();
        for (const led_relation& relation : relations) engine->Relations().Add(relation);
    }

    void Ticks(int count) {
        for (int i = 0; i < count; ++i) {
            clock.Advance(kTickMs);
            engine->Tick();
        }
    }
    uint32_t Lit() const { return engine->CurrentDevice().LitBits(); }
    uint32_t Driven() const { return engine->CurrentDevice().DrivenBits(); }

    // The sink's side of the media status area: slot index in use with its last state tag.
    void SetSlot(std::size_t index, int32_t last_state) {
        MediaStatusSlot slot = {};
        slot.inUse = kMediaStatusSlotInUse;
        slot.sequence = static_cast<uint32_t>(index + 1);
        slot.lastState = last_state;
        std::memcpy(area.data() + MediaStatusSlotOffset(index), &slot, sizeof slot);
    }
    void ClearSlot(std::size_t index) { std::memset(area.data() + MediaStatusSlotOffset(index), 0, sizeof(MediaStatusSlot)); }
    void SetRecordings(int count) {
        for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
            if (static_cast<int>(i) < count)
                SetSlot(i, msas::MSPROPTAG_Recording);
            else
                ClearSlot(i);
        }
    }
    // Another process of the program sets a user event (its command line).
    void SetUserEventElsewhere(int index, bool on) {
        registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, kGlimmerboxKey)
            ->WriteDword("UserEvent" + std::to_string(index), on ? 1 : 0);
    }

    static platform::WindowHandle window() { return reinterpret_cast<platform::WindowHandle>(0x1234); }

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
    serial_led_services serial_services{ports, timers, registry, clock, message_boxes};
    led_engine_services services{serial_services, keyboards, power, windows, sessions, areas};
    std::unique_ptr<cWindowsVersion> version;
    std::unique_ptr<cLedEngine> engine;
};
