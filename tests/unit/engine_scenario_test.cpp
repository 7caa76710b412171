// One simulated minute of a whole engine on a single-LED module (normally
// off, on the TXD line): recordings start and end in the media status area,
// another instance of the program sets a user event, the system sleeps and
// wakes. The light is read off the port, tick by tick.
#include "tests/unit/engine_fixture.h"

#include <string>
#include <vector>

namespace {

constexpr int kTicksPerSecond = 8;

// True when the timeline alternates between lit and dark every length ticks;
// the first and the last run may be cut short by the window.
bool BlinksEvery(const std::string& timeline, std::size_t length) {
    std::vector<std::size_t> runs;
    std::size_t start = 0;
    for (std::size_t i = 1; i <= timeline.size(); ++i) {
        if (i < timeline.size() && timeline[i] == timeline[start]) continue;
        runs.push_back(i - start);
        start = i;
    }
    if (runs.size() < timeline.size() / length) return false;
    for (std::size_t i = 1; i + 1 < runs.size(); ++i)
        if (runs[i] != length) return false;
    return true;
}

}  // namespace

class EngineScenario : public EngineFixture {
protected:
    // Runs whole seconds of ticks, noting '#' for each tick that ends with the LED lit.
    void RunSeconds(int seconds) {
        for (int i = 0; i < seconds * kTicksPerSecond; ++i) {
            Ticks(1);
            timeline_ += ports.port(1).brk ? '#' : '.';
        }
    }
    // The ticks of seconds [from, to) of the minute.
    std::string Seconds(int from, int to) const {
        return timeline_.substr(from * kTicksPerSecond, (to - from) * kTicksPerSecond);
    }

    std::string timeline_;
};

TEST_F(EngineScenario, AMinuteOfRecordingsUserEventsAndSleep) {
    ports.AddPort(1, {.rts = platform::kMsCtsOn});
    StartAndOpen("COM1");
    ASSERT_EQ(engine->CurrentDevice().HardwareId(), 0x1010);
    // The defaults of this module (recording 1: on, recording 2: blink) and two of the user's own.
    engine->Relations().Add({event::UserEvent0, 0, led_state::BlinkFast, priority::High});
    engine->Relations().Add({event::SystemSuspended, 0, led_state::On, priority::Normal});
    ASSERT_EQ(engine->Relations().size(), 4u);

    RunSeconds(10);
    SetRecordings(1);
    RunSeconds(10);
    SetRecordings(2);
    RunSeconds(10);
    SetRecordings(0);
    RunSeconds(5);
    SetUserEventElsewhere(0, true);
    RunSeconds(5);
    SetUserEventElsewhere(0, false);
    RunSeconds(5);

    engine->OnPowerEvent({platform::kPbtApmSuspend});
    const std::size_t writes_before_sleep = ports.port(1).writes.size();
    RunSeconds(1);  // the timer runs on until the machine is asleep
    const std::size_t writes_asleep = ports.port(1).writes.size() - writes_before_sleep;
    clock.Advance(10 * 1000);
    engine->OnPowerEvent({platform::kPbtApmResumeAutomatic});
    const bool lit_after_resume = ports.port(1).brk;
    RunSeconds(5);

    EXPECT_EQ(Seconds(0, 10), std::string(80, '.')) << "no recording: dark";
    EXPECT_EQ(Seconds(10, 20), std::string(80, '#')) << "one recording, seen at the first gathering: on";
    EXPECT_TRUE(BlinksEvery(Seconds(20, 30), 4)) << "two recordings: blink " << Seconds(20, 30);
    EXPECT_EQ(Seconds(30, 35), std::string(40, '.'));
    EXPECT_TRUE(BlinksEvery(Seconds(35, 40), 2)) << "user event: blink fast " << Seconds(35, 40);
    EXPECT_EQ(Seconds(40, 45), std::string(40, '.'));
    EXPECT_EQ(Seconds(45, 46), std::string(8, '#')) << "held on while going to sleep";
    EXPECT_EQ(writes_asleep, 0u) << "a suspended device writes nothing";
    EXPECT_FALSE(lit_after_resume);
    EXPECT_EQ(Seconds(46, 51), std::string(40, '.'));
}
