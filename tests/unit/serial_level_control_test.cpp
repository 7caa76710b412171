// Level control: a 20 ms period in which each line is on for its on-time.
#include "settings/led_vocabulary.h"
#include "tests/unit/serial_device_fixture.h"

using platform::CommFunction;

namespace {
constexpr int kPort = 1;
}  // namespace

class SerialLevelControl : public SerialDeviceFixture {
protected:
    // COM1, a standard port with three plain LEDs, opened with level control on.
    void SetUp() override {
        ListAcpiPort("1", "COM1", "Communications Port");
        ports.AddPort(kPort);
        device = Build(kPort);
        device->SetLevelControl(true);
        ASSERT_TRUE(device->Activate());
        ASSERT_TRUE(device->IsLevelControlRunning());
        ASSERT_EQ(timers.Running(), 0) << "no line is dimmed yet";
    }

    // One frame with LED i at the given state and level.
    void Show(std::initializer_list<std::tuple<int, int8_t, int>> leds) {
        device->BeginUpdate();
        for (auto [led, state, level] : leds) {
            device->GetLed(led)->level = level;
            device->SetLedState(led, state, false);
        }
        device->EndUpdate(true);
    }

    // One engine tick of a second: the blink phase advances, and the clock by 125 ms.
    void Tick() {
        device->AdvancePhase();
        clock.Advance(125);
    }

    // Advances to the next start of a level period of the latest timer; returns its time.
    uint32_t NextPeriod() {
        const uint32_t first_tick = timers.created().back().at + 1;
        do clock.Advance(1);
        while ((clock.TickCount() - first_tick) % 20 != 0);
        return clock.TickCount();
    }

    std::vector<CommFunction> FunctionsAt(uint32_t time) {
        std::vector<CommFunction> functions;
        for (const LineWrite& write : ports.port(kPort).writes)
            if (write.time == time) functions.push_back(write.function);
        return functions;
    }

    std::unique_ptr<cSerialLedDevice> device;
};

TEST_F(SerialLevelControl, PeriodWritesEachLineWhereItsLevelChanges) {
    const size_t before = ports.port(kPort).writes.size();
    Show({{0, led_state::On, 50}, {1, led_state::On, 25}, {2, led_state::On, 100}});
    EXPECT_EQ(ports.port(kPort).writes.size(), before) << "the timer, not the frame, writes the lines";

    const uint32_t start = NextPeriod();
    EXPECT_EQ(FunctionsAt(start), (std::vector{CommFunction::SetDtr, CommFunction::SetRts, CommFunction::SetBreak}));
    clock.Advance(20);
    EXPECT_EQ(FunctionsAt(start + 5), std::vector{CommFunction::ClrRts});
    EXPECT_EQ(FunctionsAt(start + 10), std::vector{CommFunction::ClrDtr});
    EXPECT_EQ(FunctionsAt(start + 20), (std::vector{CommFunction::SetDtr, CommFunction::SetRts}))
        << "the line at 100 percent stays on unwritten";
    EXPECT_EQ(WritesSince(kPort, start).size(), 3u + 1u + 1u + 2u);
}

TEST_F(SerialLevelControl, TimerRunsOnlyWhileAShownLineIsDimmed) {
    clock.Advance(1000);  // apart from the writes of the opening
    Show({{0, led_state::On, 100}, {1, led_state::Off, 100}, {2, led_state::On, 0}});
    const uint32_t start = clock.TickCount();
    EXPECT_EQ(timers.Running(), 0);
    EXPECT_EQ(FunctionsAt(start), (std::vector{CommFunction::SetDtr, CommFunction::ClrRts, CommFunction::ClrBreak}))
        << "the frame writes the lines, every one once a second";
    for (int tick = 0; tick < 16; ++tick) Tick();
    EXPECT_EQ(WritesSince(kPort, start + 1).size(), 3u) << "only the repair write of the next second";

    Show({{0, led_state::On, 50}, {1, led_state::Off, 100}, {2, led_state::On, 0}});
    EXPECT_EQ(timers.Running(), 1);
    NextPeriod();
    clock.Advance(10);
    EXPECT_FALSE(ports.port(kPort).dtr) << "dimmed";
    Show({{0, led_state::On, 100}, {1, led_state::Off, 100}, {2, led_state::On, 0}});
    EXPECT_EQ(timers.Running(), 0);
    EXPECT_TRUE(ports.port(kPort).dtr) << "at full level at once, without waiting for a period";
}

TEST_F(SerialLevelControl, OnTimesComeFromLevels) {
    Show({{0, led_state::On, 50}, {1, led_state::On, 5}, {2, led_state::On, 100}});
    EXPECT_EQ(device->OnTime(0), 10);
    EXPECT_EQ(device->OnTime(1), 1);
    EXPECT_EQ(device->OnTime(2), 20);

    const uint32_t start = NextPeriod();
    clock.Advance(19);
    EXPECT_EQ(FunctionsAt(start + 1), std::vector{CommFunction::ClrRts});
    EXPECT_EQ(FunctionsAt(start + 10), std::vector{CommFunction::ClrDtr});
    EXPECT_EQ(WritesSince(kPort, start).size(), 5u) << "a line at level 100 stays on through the period";
}

TEST_F(SerialLevelControl, LevelsBelowFivePercentStayDark) {
    clock.Advance(1);  // apart from the probe's writes
    const uint32_t start = clock.TickCount();
    Show({{0, led_state::On, 4}, {1, led_state::On, 0}, {2, led_state::Off, 100}});
    EXPECT_EQ(timers.Running(), 0);
    clock.Advance(40);
    for (const LineWrite& write : WritesSince(kPort, start))
        EXPECT_TRUE(write.function == CommFunction::ClrDtr || write.function == CommFunction::ClrRts ||
                    write.function == CommFunction::ClrBreak);
}

TEST_F(SerialLevelControl, BlinkPhaseBlanksTheLineAndStopsItsTimer) {
    Show({{0, led_state::Blink, 50}});
    const uint32_t start = NextPeriod();
    EXPECT_EQ(FunctionsAt(start).front(), CommFunction::SetDtr);

    for (int tick = 0; tick < 4; ++tick) device->AdvancePhase();  // "Blink" is dark in phases 4 to 7
    EXPECT_EQ(timers.Running(), 0) << "a blanked line needs no timer";
    EXPECT_FALSE(ports.port(kPort).dtr) << "the frame, not the next period, darkens the line";
    const uint32_t dark = clock.TickCount();
    clock.Advance(40);
    EXPECT_TRUE(WritesSince(kPort, dark + 1).empty()) << "a dark line is not written again";
    for (int tick = 0; tick < 4; ++tick) device->AdvancePhase();
    EXPECT_EQ(timers.Running(), 1) << "lit and dimmed again";
}

TEST_F(SerialLevelControl, FullColourLedMixesFromEachLinesLevel) {
    ports.AddPort(2, {.dtr = platform::kMsRlsdOn});
    ListAcpiPort("2", "COM2", "Communications Port");
    device = Build(2);  // the common-cathode module
    ASSERT_EQ(device->HardwareId(), 0x1008);
    int32_t* red = device->GetLed(0)->levels[1];
    red[0] = 100, red[1] = 50, red[2] = 0;  // red with some green: orange
    device->SetLevelControl(true);
    ASSERT_TRUE(device->Activate());

    device->BeginUpdate();
    device->SetLedState(0, led_state::Red, false);
    device->EndUpdate(true);
    EXPECT_EQ(device->OnTime(0), 20);
    EXPECT_EQ(device->OnTime(1), 10);
    EXPECT_EQ(device->OnTime(2), 0);

    const uint32_t start = NextPeriod();
    EXPECT_TRUE(ports.port(2).dtr);
    EXPECT_TRUE(ports.port(2).rts) << "the on-times, not the colour's lines, decide what the period lights";
    EXPECT_FALSE(ports.port(2).brk);
    clock.Advance(10);
    EXPECT_TRUE(ports.port(2).dtr);
    EXPECT_FALSE(ports.port(2).rts);
    EXPECT_EQ(WritesSince(2, start).size(), 3u) << "the lines that go on, and the end of green";
}

TEST_F(SerialLevelControl, StopWritesTheLatestFrameAtFullLevel) {
    Show({{0, led_state::On, 10}, {1, led_state::Off, 100}, {2, led_state::On, 30}});
    NextPeriod();
    clock.Advance(7);  // both lines are off again
    EXPECT_FALSE(ports.port(kPort).dtr || ports.port(kPort).brk);

    device->SetLevelControl(false);
    EXPECT_EQ(timers.Running(), 0);
    EXPECT_TRUE(ports.port(kPort).dtr);
    EXPECT_FALSE(ports.port(kPort).rts);
    EXPECT_TRUE(ports.port(kPort).brk);

    const size_t writes = ports.port(kPort).writes.size();
    clock.Advance(100);
    EXPECT_EQ(ports.port(kPort).writes.size(), writes) << "no timer writes after the stop";
}

TEST_F(SerialLevelControl, SuspendLeavesTheLatestFrameAndResumeRestartsOneTimer) {
    Show({{0, led_state::On, 50}, {1, led_state::On, 50}});
    device->Suspend();
    EXPECT_FALSE(device->IsLevelControlRunning());
    EXPECT_TRUE(ports.port(kPort).dtr && ports.port(kPort).rts)
        << "the hold mask of the suspend only becomes the latest arguments";

    device->Resume();
    EXPECT_EQ(timers.Running(), 1);
    EXPECT_EQ(timers.Peak(), 1);

    device->Suspend();
    device->SetLevelControl(false);  // switched off while the system sleeps
    device->Resume();
    EXPECT_EQ(timers.Running(), 0) << "the frames write the lines now, the timer must not too";
}

TEST_F(SerialLevelControl, ResumeFixReopensAProlificPortWithASingleTimer) {
    device.reset();
    ListUsbPort("VID_067B&PID_2303", "COM8");
    ports.AddPort(8);
    device = Build(8);
    ASSERT_TRUE(device->IsProlific());
    ASSERT_FALSE(device->LevelControlSupported());
    // Switched on for this module kind on another port: applies here too.
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, std::string(kGlimmerboxKey) + "\\1000")
        ->WriteDword("LevelControl", 1);
    device->ResumeFix().Set(true);
    ASSERT_TRUE(device->Activate());
    ASSERT_TRUE(device->IsLevelControlRunning());
    Show({{0, led_state::On, 50}});

    device->Suspend();
    device->Resume();
    EXPECT_EQ(ports.port(8).opens, 3) << "probe, Activate, and the reopen";
    EXPECT_TRUE(ports.port(8).open);
    EXPECT_TRUE(device->IsLevelControlRunning());
    EXPECT_EQ(timers.Running(), 1);
    EXPECT_EQ(timers.Peak(), 1) << "the reopen and the restart must not both leave a timer";
}

TEST_F(SerialLevelControl, ResumeFixLeavesAPortThatWasNeverOpenedClosed) {
    ListUsbPort("VID_067B&PID_2303", "COM8");
    ports.AddPort(8);
    auto closed = Build(8);
    closed->ResumeFix().Set(true);
    closed->Suspend();
    closed->Resume();
    EXPECT_EQ(ports.port(8).opens, 1);
    EXPECT_FALSE(ports.port(8).open);
}

TEST_F(SerialLevelControl, ResumeFixRetriesAnAdapterThatWasNotBackYet) {
    ListUsbPort("VID_067B&PID_2303", "COM8");
    ports.AddPort(8);
    auto adapter = Build(8);
    adapter->ResumeFix().Set(true);
    ASSERT_TRUE(adapter->Activate());

    adapter->Suspend();
    ports.port(8).open_error = platform::kErrorFileNotFound;  // not yet back on the USB at this wake
    adapter->Resume();
    EXPECT_FALSE(ports.port(8).open);

    adapter->Suspend();
    ports.port(8).open_error = 0;
    adapter->Resume();
    EXPECT_TRUE(ports.port(8).open) << "the next wake tries again";
    EXPECT_EQ(ports.port(8).opens, 3) << "probe, Activate, and the second wake";
}

TEST_F(SerialLevelControl, CloseStopsATimerWhoseSettingWasSwitchedOffUnderIt) {
    // Another port of this module kind switched level control off; a repeated Activate loads that.
    registry.OpenOrCreate(platform::RegistryRoot::CurrentUser, std::string(kGlimmerboxKey) + "\\1000")
        ->WriteDword("LevelControl", 0);
    Show({{0, led_state::On, 50}});
    EXPECT_FALSE(device->Activate()) << "the port is open already";
    ASSERT_FALSE(device->LevelControlEnabled());
    ASSERT_EQ(timers.Running(), 1);
    Show({{0, led_state::On, 30}});
    EXPECT_EQ(timers.Running(), 1) << "the timer writes the lines until it is stopped, not the frames beside it";
    device.reset();
    EXPECT_EQ(timers.Running(), 0);
    clock.Advance(100);  // a callback into the destroyed device would show up under the sanitizers
}

TEST_F(SerialLevelControl, StartWithoutAnOpenPortStartsNothingAndShowsNothing) {
    device->Deactivate();
    const std::size_t made = timers.created().size();
    device->StartLevelControl();
    EXPECT_EQ(timers.created().size(), made);
    EXPECT_TRUE(message_boxes.shown.empty());
}

TEST_F(SerialLevelControl, PeriodDuringAFrameUnderConstructionKeepsTheLatestFrame) {
    Show({{0, led_state::On, 50}});
    device->BeginUpdate();
    // The timer thread can start a period before the frame is complete.
    const uint32_t start = NextPeriod();
    EXPECT_EQ(FunctionsAt(start).front(), CommFunction::SetDtr);
    EXPECT_EQ(device->OnTime(0), 10);
    device->SetLedState(0, led_state::On, false);
    device->EndUpdate(true);
}

TEST_F(SerialLevelControl, DeactivateStopsTheTimerAndLeavesTheLinesAtRest) {
    Show({{0, led_state::On, 50}, {2, led_state::On, 100}});
    NextPeriod();
    device->Deactivate();
    EXPECT_EQ(timers.Running(), 0);
    EXPECT_FALSE(ports.port(kPort).open);
    EXPECT_FALSE(ports.port(kPort).dtr || ports.port(kPort).rts || ports.port(kPort).brk);
}

TEST_F(SerialLevelControl, DestroyingARunningDeviceLeavesNoTimer) {
    Show({{0, led_state::On, 50}});
    NextPeriod();
    device.reset();
    EXPECT_EQ(timers.Running(), 0);
    clock.Advance(100);  // a callback into the destroyed device would show up under the sanitizers
}

TEST_F(SerialLevelControl, FailedTimerIsReported) {
    device->SetLevelControl(false);
    timers.FailCreation(true);
    device->SetLevelControl(true);
    EXPECT_TRUE(message_boxes.shown.empty()) << "no line needs the timer yet";
    Show({{0, led_state::On, 50}});
    Show({{0, led_state::On, 40}});
    ASSERT_EQ(message_boxes.shown.size(), 1u) << "once, not at every frame";
    EXPECT_EQ(message_boxes.shown[0].caption, "Error");
    EXPECT_EQ(message_boxes.shown[0].text, "timeSetEvent failed");
    EXPECT_EQ(timers.Running(), 0);
    EXPECT_TRUE(ports.port(kPort).dtr) << "a dimmed line without its timer stays on through the period";
}

TEST_F(SerialLevelControl, SecondStartKeepsOneTimer) {
    Show({{0, led_state::On, 50}});
    device->StartLevelControl();
    device->StartLevelControl();
    EXPECT_EQ(timers.Running(), 1);
    EXPECT_EQ(timers.Peak(), 1);
}

using SerialFrames = SerialDeviceFixture;

TEST_F(SerialFrames, WithoutLevelControlFramesWriteTheLinesThatChange) {
    ports.AddPort(3, {.dtr = platform::kMsDsrOn});  // normally on: one inverted LED on TXD
    auto device = Build(3);
    clock.Advance(1);  // apart from the probe's writes
    const uint32_t opened_at = clock.TickCount();
    ASSERT_TRUE(device->Activate());
    EXPECT_TRUE(ports.port(3).line_control_disabled);
    EXPECT_EQ(WritesSince(3, opened_at),
              (std::vector<LineWrite>{{opened_at, CommFunction::ClrDtr}, {opened_at, CommFunction::ClrRts},
                                      {opened_at, CommFunction::ClrBreak}}))
        << "every line at rest: the inverted LED is lit";

    device->BeginUpdate();
    device->SetLedState(0, led_state::Off, false);
    device->EndUpdate(true);
    EXPECT_TRUE(ports.port(3).brk) << "driving the line darkens the inverted LED";
    EXPECT_EQ(WritesSince(3, opened_at).size(), 4u) << "only TXD changed";

    device->BeginUpdate();
    device->SetLedState(0, led_state::On, false);
    device->EndUpdate(true);
    device->AdvancePhase();
    EXPECT_FALSE(ports.port(3).brk);
    EXPECT_EQ(device->LitBits(), 0x4u);
    EXPECT_EQ(device->DrivenBits(), 0x4u);
    EXPECT_EQ(WritesSince(3, opened_at).size(), 5u) << "an unchanged frame writes nothing";

    clock.Advance(1000);
    device->AdvancePhase();
    EXPECT_EQ(WritesSince(3, opened_at + 1000).size(), 3u) << "every line once a second";

    device->Suspend();
    EXPECT_TRUE(ports.port(3).brk) << "the suspend darkens the LED that is not held";
    const size_t asleep = ports.port(3).writes.size();
    device->BeginUpdate();
    device->SetLedState(0, led_state::On, false);
    device->EndUpdate(true);
    clock.Advance(1000);
    device->AdvancePhase();
    EXPECT_EQ(ports.port(3).writes.size(), asleep) << "nothing reaches a suspended device";
    device->Resume();
    EXPECT_EQ(ports.port(3).writes.size(), asleep + 3) << "every line after the system woke";
}

TEST_F(SerialFrames, OpenFailsOnAnOpenOrVanishedPort) {
    ports.AddPort(3);
    auto device = Build(3);
    ASSERT_TRUE(device->Activate());
    EXPECT_FALSE(device->Open()) << "already open";
    device->Deactivate();
    ports.port(3).open_error = platform::kErrorFileNotFound;  // the adapter was unplugged
    EXPECT_FALSE(device->Activate());
}
