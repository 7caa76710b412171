#pragma once
// One LED engine over the in-memory machine: a test scripts the machine,
// starts the engine and reads the light off the device.

#include "engine/led_engine.h"
#include "settings/led_vocabulary.h"
#include "tests/unit/fake_machine.h"

#include <gtest/gtest.h>

#include <memory>

class EngineFixture : public testing::Test, protected FakeMachine {
protected:
    static constexpr int kTickMs = 125;

    // Like the main window, the fixture hands session changes to the engine
    // only once the engine is built: what is sent during construction is lost.
    cLedEngine& Start() {
        sessions.SetWindowProcedure(nullptr);
        version = std::make_unique<cWindowsVersion>(version_info, metrics, registry);
        engine = std::make_unique<cLedEngine>(services, window(), *version);
        sessions.SetWindowProcedure([this](const platform::fake::FakeSessions::SentMessage& message) {
            engine->OnSessionChange({message.code, message.session_id});
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

    std::unique_ptr<cWindowsVersion> version;
    std::unique_ptr<cLedEngine> engine;
};
