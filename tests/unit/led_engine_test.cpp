// The engine over a machine in memory: what it gathers, what it shows on a
// serial-line module, and how it follows power and session notifications.
#include "tests/common/keyboard_registration.h"
#include "tests/unit/engine_fixture.h"

#include <optional>
#include <vector>

namespace {

// The lines of the full-colour module's LED.
constexpr uint32_t kRed = 0x1;
constexpr uint32_t kGreen = 0x2;
constexpr uint32_t kBlue = 0x4;

constexpr uint32_t kRecording2 = event::Recording1 << 1;
constexpr uint32_t kRecordingEvents = 0xFE;
constexpr platform::Guid kOtherSetting = {0x245D8541, 0x3943, 0x4422, {0xB0, 0x25, 0x13, 0xA7, 0x84, 0xF6, 0x79, 0xB7}};

}  // namespace

class LedEngine : public EngineFixture {
protected:
    // Delivers a power-setting change as the window unpacks it: a record
    // without data (length 0) carries no value.
    void SendPowerSetting(const platform::Guid& setting, uint32_t value, uint32_t length = 4) {
        engine->OnPowerEvent({platform::kPbtPowerSettingChange, setting,
                              length ? std::optional<uint32_t>(value) : std::nullopt});
    }
    bool Has(uint32_t events) const { return (engine->Events() & events) == events; }
    bool HasAny(uint32_t events) const { return (engine->Events() & events) != 0; }
};

// --- start and the power library

TEST_F(LedEngine, StartsOnTheFallbackKeyboardWithPowerOnAndAlwaysOn) {
    Start();
    EXPECT_EQ(engine->Events(), event::PowerOn | event::AlwaysOn);
    EXPECT_EQ(engine->CurrentDevice().HardwareId(), 0x2003);
    EXPECT_TRUE(message_boxes.shown.empty());
    using Registration = std::pair<platform::WindowHandle, platform::Guid>;
    EXPECT_EQ(power.registrations, (std::vector<Registration>{{window(), platform::kGuidSystemAwayMode},
                                                              {window(), platform::kGuidMonitorPowerOn}}));
    EXPECT_EQ(sessions.RegisteredWindows(), std::vector<platform::WindowHandle>{window()});
    EXPECT_EQ(power.loaded_power_libraries, 1);

    engine.reset();
    EXPECT_EQ(power.loaded_power_libraries, 0) << "the power library is freed with the engine";
}

TEST_F(LedEngine, RegistersForPowerSettingsOnlyFromWindowsVistaOn) {
    version_info.SetWindowsVersion(platform::OsVersion{5, 1});
    Start();
    EXPECT_TRUE(power.registrations.empty());
    EXPECT_TRUE(message_boxes.shown.empty());
}

TEST_F(LedEngine, MissingPowerLibraryIsReportedOnceAndCostsOnlyTheExecutionState) {
    const std::pair<platform::DllBinding, const char*> failures[] = {
        {platform::DllBinding::LibraryMissing, "Cannot load dll."},
        {platform::DllBinding::EntryPointMissing, "GetProcAddress failed."}};
    for (const auto& [binding, text] : failures) {
        SCOPED_TRACE(text);
        message_boxes.shown.clear();
        power.power_library = binding;
        power.execution_state = platform::kEsSystemRequired | platform::kEsDisplayRequired;
        windows.classes.insert("eHome Render Window");
        Start();
        Ticks(9);
        using Shown = platform::fake::FakeMessageBoxes::Shown;
        EXPECT_EQ(message_boxes.shown, (std::vector<Shown>{{"powrprof.dll", text}}));
        EXPECT_FALSE(HasAny(event::SystemRequired | event::DisplayRequired));
        EXPECT_TRUE(Has(event::McIsRunning | event::Recording0 | event::ResumedForUserTask));
        engine.reset();
    }
}

TEST_F(LedEngine, MissingPowerSettingNotificationIsReportedOnce) {
    const std::pair<platform::DllBinding, const char*> failures[] = {
        {platform::DllBinding::LibraryMissing, "Cannot load dll"},
        {platform::DllBinding::EntryPointMissing, "GetProcAddress failed"}};
    for (const auto& [binding, text] : failures) {
        SCOPED_TRACE(text);
        message_boxes.shown.clear();
        power.user32 = binding;
        Start();
        using Shown = platform::fake::FakeMessageBoxes::Shown;
        EXPECT_EQ(message_boxes.shown, (std::vector<Shown>{{"User32.dll", text}}));
        EXPECT_TRUE(power.registrations.empty());
        EXPECT_EQ(power.loaded_power_libraries, 1) << "the power library is bound all the same";
        engine.reset();
    }
}

// --- gathering

TEST_F(LedEngine, GathersOnTheFirstTickAndOnEveryEighthAfter) {
    Start();
    SetUserEventElsewhere(1, true);
    Ticks(1);
    EXPECT_TRUE(Has(event::UserEvent1));
    SetUserEventElsewhere(1, false);
    Ticks(7);
    EXPECT_TRUE(Has(event::UserEvent1)) << "read only once a second";
    Ticks(1);
    EXPECT_FALSE(Has(event::UserEvent1));
}

TEST_F(LedEngine, RecordingCountSetsExactlyOneRecordingEvent) {
    Start();
    const std::pair<int, uint32_t> counts[] = {{0, event::Recording0}, {1, event::Recording1}, {2, kRecording2},
                                               {5, 0x40},              {6, event::Recording6}, {9, event::Recording6}};
    for (const auto& [count, recording_event] : counts) {
        SetRecordings(count);
        engine->Gather();
        EXPECT_EQ(engine->Events() & kRecordingEvents, recording_event) << count << " recordings";
    }
    areas.FailMapping(true);
    engine->Gather();
    EXPECT_EQ(engine->Events() & kRecordingEvents, event::Recording0) << "an unreadable area counts as none";
}

TEST_F(LedEngine, MediaCenterPausedOnlyWhileNotPlaying) {
    Start();
    SetSlot(0, msas::MSPROPTAG_Play);
    SetSlot(1, msas::MSPROPTAG_Pause);
    SetSlot(2, msas::MSPROPTAG_Mute);
    SetSlot(3, msas::MSPROPTAG_Error);
    engine->Gather();
    EXPECT_TRUE(Has(event::McPlaying | event::McMuted | event::McError));
    EXPECT_FALSE(Has(event::McPaused));

    ClearSlot(0);
    engine->Gather();
    EXPECT_TRUE(Has(event::McPaused));
    EXPECT_FALSE(Has(event::McPlaying));
}

TEST_F(LedEngine, ResumeKindFollowsTheSystemAndAwayMode) {
    Start();
    engine->Gather();
    EXPECT_TRUE(Has(event::ResumedForUserTask));
    EXPECT_FALSE(Has(event::ResumedForAutoTask));

    power.resume_automatic = true;
    engine->Gather();
    EXPECT_TRUE(Has(event::ResumedForAutoTask));
    EXPECT_FALSE(Has(event::ResumedForUserTask));

    power.resume_automatic = false;
    SendPowerSetting(platform::kGuidSystemAwayMode, 1);
    engine->Gather();
    EXPECT_FALSE(HasAny(event::ResumedForAutoTask | event::ResumedForUserTask));
}

TEST_F(LedEngine, ExecutionStateAndTheMediaCenterWindow) {
    Start();
    power.execution_state = platform::kEsDisplayRequired;
    windows.classes.insert("eHome Render Window");
    engine->Gather();
    EXPECT_TRUE(Has(event::DisplayRequired | event::McIsRunning));
    EXPECT_FALSE(Has(event::SystemRequired));

    power.power_information_status = static_cast<int32_t>(0xC0000001);
    windows.classes.clear();
    engine->Gather();
    EXPECT_FALSE(HasAny(event::DisplayRequired | event::SystemRequired | event::McIsRunning));
}

TEST_F(LedEngine, GatheringRebuildsOnlyTheEventsThatAreNotKept) {
    Start();
    engine->SetEvent(event::ExtenderInUse | event::AwayMode | event::Recording1 | event::McPlaying, true);
    engine->Gather();
    EXPECT_TRUE(Has(event::ExtenderInUse | event::AwayMode | event::PowerOn | event::AlwaysOn | event::Recording0));
    EXPECT_FALSE(HasAny(event::Recording1 | event::McPlaying));
}

TEST_F(LedEngine, UserInputLastsExactlyTheTicksInWhichInputMoved) {
    Start();
    Ticks(1);
    EXPECT_FALSE(Has(event::UserInput));
    power.last_input_time = 5000u;
    Ticks(1);
    EXPECT_TRUE(Has(event::UserInput));
    Ticks(1);
    EXPECT_FALSE(Has(event::UserInput));
    power.last_input_time = std::nullopt;
    Ticks(1);
    EXPECT_FALSE(Has(event::UserInput)) << "a failing query is no input";
}

// --- frames

TEST_F(LedEngine, FirstTickEndsOnTheSecondOfTwoNormalEventsThenTheyAlternateEverySecond) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Normal},
            {event::AlwaysOn, 0, led_state::Blue, priority::Normal}});
    Ticks(1);
    EXPECT_EQ(Lit(), kBlue);
    Ticks(7);
    EXPECT_EQ(Lit(), kBlue);
    Ticks(1);
    EXPECT_EQ(Lit(), kRed);
    Ticks(8);
    EXPECT_EQ(Lit(), kBlue);
}

TEST_F(LedEngine, HigherPriorityEventTakesOverAtTheNextTick) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Normal},
            {event::UserEvent0, 0, led_state::Green, priority::High}});
    Ticks(2);
    EXPECT_EQ(Lit(), kRed);
    engine->SetEvent(event::UserEvent0, true);
    Ticks(1);
    EXPECT_EQ(Lit(), kGreen);
}

TEST_F(LedEngine, LedsWithoutRelationsAreNotDriven) {
    StartWithThreeLeds();
    Relate({{event::PowerOn, 1, led_state::On, priority::Normal}});
    Ticks(1);
    EXPECT_EQ(Driven(), 0x2u);
    EXPECT_EQ(Lit(), 0x2u);
}

TEST_F(LedEngine, OverrideShowsItsStateForFiveSecondsThenTheRelationsTakeOver) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Normal}});
    Ticks(1);
    engine->ShowOverride(0, led_state::Green, 5000);
    engine->ShowOverride(4, led_state::Green, 5000);
    engine->ShowOverride(-1, led_state::Green, 5000);
    Ticks(40);
    EXPECT_EQ(Lit(), kGreen);
    Ticks(2);
    EXPECT_EQ(Lit(), kRed);
}

TEST_F(LedEngine, OverrideStartedJustBeforeTheTickCountWrapsStillLastsFiveSeconds) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Normal}});
    clock.Set(0xFFFFFFFFu - 1000);
    engine->ShowOverride(0, led_state::Blue, 5000);
    Ticks(16);
    EXPECT_EQ(Lit(), kBlue) << "one second after the wrap";
    Ticks(24);
    EXPECT_EQ(Lit(), kBlue);
    Ticks(2);
    EXPECT_EQ(Lit(), kRed);
}

TEST_F(LedEngine, OverrideOfAnLedTheDeviceLacksExpiresAllTheSame) {
    const std::string kana_keyboard = RegisterKeyboard(registry, "7&1b2c3d4e&0&0000", "HID Keyboard Device");
    keyboards.Add(KeyboardPath(kana_keyboard)).attributes->number_of_indicators = 4;
    StartWithThreeLeds();
    engine->ShowOverride(3, led_state::On, 5000);
    Ticks(48);
    clock.Advance(0x80000000u);  // 24.8 days on, an unexpired override would look due far in the future
    engine->OpenDevice(kana_keyboard);
    ASSERT_EQ(engine->CurrentDevice().LedCount(), 4);
    Ticks(1);
    EXPECT_EQ(Driven() & 0x8, 0u) << "Kana Lock has no relation and no override";
}

// --- power notifications

TEST_F(LedEngine, SuspendWithoutHeldEventsLeavesEveryLedDark) {
    StartWithThreeLeds();
    Relate({{event::PowerOn, 0, led_state::On, priority::Normal}, {event::PowerOn, 1, led_state::On, priority::Lowest}});
    Ticks(1);
    ASSERT_EQ(Lit(), 0x3u);
    ASSERT_TRUE(ports.port(1).dtr && ports.port(1).rts);

    engine->OnPowerEvent({platform::kPbtApmSuspend});
    EXPECT_TRUE(Has(event::SystemSuspended));
    EXPECT_FALSE(Has(event::PowerOn));
    EXPECT_EQ(Lit(), 0u);
    EXPECT_EQ(Driven(), 0x3u);
    EXPECT_FALSE(ports.port(1).dtr || ports.port(1).rts || ports.port(1).brk);
}

TEST_F(LedEngine, SuspendKeepsHeldLedsLitAndTheResumeBringsBackThePowerOnRelations) {
    StartWithThreeLeds();
    Relate({{event::PowerOn, 0, led_state::On, priority::Normal},
            {event::SystemSuspended, 1, led_state::On, priority::Normal}});
    Ticks(1);
    ASSERT_EQ(Lit(), 0x1u);

    engine->OnPowerEvent({platform::kPbtApmSuspend});
    EXPECT_EQ(engine->CurrentDevice().HoldBits(), 0x2u);
    EXPECT_TRUE(ports.port(1).rts);
    EXPECT_FALSE(ports.port(1).dtr);
    engine->OnPowerEvent({platform::kPbtApmResumeSuspend});
    EXPECT_TRUE(Has(event::SystemSuspended)) << "only the automatic resume ends the suspend";

    engine->OnPowerEvent({platform::kPbtApmResumeAutomatic});
    EXPECT_TRUE(Has(event::PowerOn));
    EXPECT_FALSE(Has(event::SystemSuspended));
    EXPECT_EQ(Lit(), 0x1u);
    EXPECT_TRUE(ports.port(1).dtr);
    EXPECT_FALSE(ports.port(1).rts);
}

TEST_F(LedEngine, AwayModeAndMonitorFollowTheirPowerSettingsAtOnce) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Lowest},
            {event::AwayMode, 0, led_state::Blue, priority::Normal},
            {event::MonitorOn, 0, led_state::Green, priority::High}});
    Ticks(1);
    EXPECT_EQ(Lit(), kRed);
    SendPowerSetting(platform::kGuidSystemAwayMode, 1);
    EXPECT_EQ(Lit(), kBlue);
    SendPowerSetting(platform::kGuidMonitorPowerOn, 1);
    EXPECT_EQ(Lit(), kGreen);
    SendPowerSetting(platform::kGuidMonitorPowerOn, 0);
    EXPECT_EQ(Lit(), kBlue);
    SendPowerSetting(platform::kGuidSystemAwayMode, 0);
    EXPECT_EQ(Lit(), kRed);
    EXPECT_FALSE(HasAny(event::AwayMode | event::MonitorOn));
}

TEST_F(LedEngine, UnknownOrEmptyPowerSettingChangesNothingAndResolvesNothing) {
    StartWithColourLed();
    Relate({{event::PowerOn, 0, led_state::Red, priority::Normal},
            {event::UserEvent0, 0, led_state::Green, priority::High}});
    Ticks(1);
    engine->SetEvent(event::UserEvent0, true);  // not resolved yet
    const uint32_t events = engine->Events();

    SendPowerSetting(kOtherSetting, 1);
    SendPowerSetting(platform::kGuidMonitorPowerOn, 1, 0);
    engine->OnPowerEvent({platform::kPbtPowerSettingChange});
    EXPECT_EQ(engine->Events(), events);
    EXPECT_EQ(Lit(), kRed);

    SendPowerSetting(platform::kGuidMonitorPowerOn, 1);
    EXPECT_EQ(Lit(), kGreen);
}

// --- sessions

TEST_F(LedEngine, SessionsPresentAtStartAreShownAndChangesResolveAtOnce) {
    sessions.Add({1, platform::SessionState::Active, platform::kWtsProtocolTypeRdp, "Mcx1-HTPC"});
    sessions.Add({2, platform::SessionState::Active, platform::kWtsProtocolTypeRdp, "alice"});
    StartWithColourLed();
    EXPECT_TRUE(Has(event::ExtenderInUse | event::RemoteDesktopSession)) << "connected before the start";
    Relate({{event::ExtenderInUse, 0, led_state::Green, priority::Normal},
            {event::RemoteDesktopSession, 0, led_state::Blue, priority::High}});
    Ticks(9);
    EXPECT_TRUE(Has(event::ExtenderInUse | event::RemoteDesktopSession)) << "kept through gatherings";
    EXPECT_EQ(Lit(), kBlue);

    engine->OnSessionChange({platform::kWtsRemoteDisconnect, 2});
    EXPECT_TRUE(Has(event::ExtenderInUse));
    EXPECT_FALSE(Has(event::RemoteDesktopSession));
    EXPECT_EQ(Lit(), kGreen);

    sessions.Remove(2);
    sessions.Add({3, platform::SessionState::Active, platform::kWtsProtocolTypeRdp, "bob"});
    engine->OnSessionChange({platform::kWtsRemoteConnect, 3});
    EXPECT_TRUE(Has(event::RemoteDesktopSession));
    EXPECT_EQ(Lit(), kBlue);

    engine->OnSessionChange({platform::kWtsRemoteDisconnect, 1});
    EXPECT_FALSE(Has(event::ExtenderInUse));
}

// --- devices and relations

TEST_F(LedEngine, OpeningADeviceLoadsTheRelationsOfItsKind) {
    ports.AddPort(1, {.dtr = platform::kMsRlsdOn});
    Start();
    engine->LoadRelations();
    EXPECT_EQ(engine->Relations().size(), 3u) << "the fallback keyboard's defaults";
    engine->Devices().Refresh(nullptr, false);

    engine->OpenDevice("COM9");
    engine->OpenDevice("com1");
    EXPECT_EQ(engine->CurrentDevice().HardwareId(), 0x2003) << "unknown IDs open nothing";
    EXPECT_EQ(engine->Relations().size(), 3u);

    engine->OpenDevice("COM1");
    EXPECT_EQ(engine->CurrentDevice().HardwareId(), 0x1008);
    EXPECT_TRUE(engine->CurrentDevice().IsOpened());
    EXPECT_EQ(engine->Relations().size(), 6u);
    EXPECT_TRUE(message_boxes.shown.empty());

    engine->FallBack();
    EXPECT_EQ(engine->CurrentDevice().HardwareId(), 0x2003);
    EXPECT_FALSE(engine->Devices().FindById("COM1")->IsOpened());
}

TEST_F(LedEngine, DeviceThatFailsToOpenIsReportedAndStaysCurrent) {
    ports.AddPort(1, {.dtr = platform::kMsRlsdOn});
    Start();
    engine->Devices().Refresh(nullptr, false);
    ports.port(1).open_error = 5;  // another program took the port meanwhile
    engine->OpenDevice("COM1");
    using Shown = platform::fake::FakeMessageBoxes::Shown;
    EXPECT_EQ(message_boxes.shown,
              (std::vector<Shown>{{engine->CurrentDevice().Description(), "Error: failed to open device"}}));
    EXPECT_EQ(engine->CurrentDevice().Id(), "COM1");
    EXPECT_EQ(engine->Relations().size(), 6u);
    Ticks(1);
    EXPECT_EQ(Lit(), kRed | kGreen | kBlue) << "frames still go to it: white for power on";
}

TEST_F(LedEngine, RelationsAreStoredForTheCurrentDevicesKind) {
    StartWithColourLed();
    Relate({{event::UserEvent2, 0, led_state::Cyan, priority::Normal}});
    EXPECT_TRUE(engine->SaveRelations());
    engine->LoadDefaultRelations(0x1002);
    EXPECT_EQ(engine->Relations().size(), 3u);
    EXPECT_TRUE(engine->LoadRelations());
    ASSERT_EQ(engine->Relations().size(), 1u);
    EXPECT_EQ(engine->Relations()[0].state, led_state::Cyan);
    EXPECT_TRUE(registry.KeyExists(platform::RegistryRoot::CurrentUser, RelationsKeyPath(0x1008)));
}

TEST_F(LedEngine, WithoutMediaCenterOnlyTheSupportedEventsAreOffered) {
    metrics.Set(platform::kSmMediaCenter, 0);
    Start();
    EXPECT_FALSE(engine->Catalogue().IsAvailable(event::Recording1));
    EXPECT_FALSE(engine->Catalogue().IsAvailable(event::AlwaysOn));
    EXPECT_TRUE(engine->Catalogue().IsAvailable(event::UserEvent0));
    engine->LoadRelations();
    ASSERT_EQ(engine->Relations().size(), 1u);
    EXPECT_EQ(engine->Relations()[0].event, event::PowerOn);

    engine->SetHiddenEventsShown(true);
    EXPECT_TRUE(engine->Catalogue().IsAvailable(event::Recording1 | event::AlwaysOn));
}
