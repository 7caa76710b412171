// The recording sensor reads what the real sink module writes: the stand-in
// status host, in a process of its own, finds Glimmerbox.dll through its
// component category and plays Media Center sessions; at each checkpoint of
// its scenario it waits while this process samples the area, as the program
// does once a second.
#include "child_process.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_shared_area_reader.h"
#include "sensors/recording_sensor.h"
#include "sink_test_support.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

// The host's command line: one quoted argument per step.
std::string Steps(std::initializer_list<std::string> steps) {
    std::string arguments;
    for (const std::string& step : steps) arguments += "\"" + step + "\" ";
    return arguments;
}

std::string Stop(const Checkpoint& checkpoint) { return "run checkpoint.exe " + checkpoint.Arguments(); }

class RecordingSensorWithTheSink : public testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(Regsvr32(false), 0u); }
    void TearDown() override { Regsvr32(true); }

    bool AnyFlag() const { return sensor_.Playing() || sensor_.Paused() || sensor_.Muted() || sensor_.Error(); }

    platform::win32::Win32SharedAreaReader reader_;
    platform::win32::Win32Clock clock_;
    cMceRecordingSensor sensor_{reader_, clock_};
};

TEST_F(RecordingSensorWithTheSink, FollowsTheSessionsThatTheHostPlays) {
    sensor_.Poll();
    ASSERT_EQ(sensor_.RecordingCount(), -1) << "no sink has created the area yet";

    Checkpoint recording("SinkRecording"), changed("SinkChanged"), released("SinkReleased");
    ChildProcess host("status_host.exe",
                      Steps({"open tv", "change tv Recording=true", "open den", "change den Play=true", "open study",
                             "change study Recording=true", Stop(recording),
                             "change tv Recording=false", "change den Pause=true", "close study", Stop(changed),
                             "close tv", "close den", "release-sinks", Stop(released)}));

    ASSERT_TRUE(recording.WaitReached());
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 2);
    EXPECT_TRUE(sensor_.Playing());
    EXPECT_FALSE(sensor_.Paused());
    ASSERT_EQ(sensor_.TriggerCount(), 2u);
    EXPECT_EQ(sensor_.TriggerAt(0).Name(), "000001") << "tv took the sink's first slot";
    EXPECT_EQ(sensor_.TriggerAt(1).Name(), "000003") << "study took the third";
    recording.Pass();

    ASSERT_TRUE(changed.WaitReached());
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0) << "a recording reported false and a closed session count for nothing";
    EXPECT_TRUE(sensor_.Paused());
    EXPECT_FALSE(sensor_.Playing()) << "only the state a session reported last counts";
    EXPECT_EQ(sensor_.TriggerCount(), 0u) << "ended recordings keep no trigger";
    changed.Pass();

    ASSERT_TRUE(released.WaitReached());
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0) << "the released sink cleared the area, which the sensor still holds";
    EXPECT_FALSE(AnyFlag());
    released.Pass();
    EXPECT_EQ(host.Wait(), 0u);
}

TEST_F(RecordingSensorWithTheSink, ReadsTheAreaOfASinkThatStartedAgain) {
    Checkpoint first("FirstSinkRecording"), second("SecondSinkRecording");
    {
        ChildProcess host("status_host.exe", Steps({"open tv", "change tv Recording=true", Stop(first)}));
        ASSERT_TRUE(first.WaitReached());
        sensor_.Poll();
        EXPECT_EQ(sensor_.RecordingCount(), 1);
        first.Pass();
        EXPECT_EQ(host.Wait(), 0u);
    }
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0) << "the host released its sink at its end";

    ChildProcess host("status_host.exe", Steps({"open radio", "change radio Recording=true", Stop(second)}));
    ASSERT_TRUE(second.WaitReached());
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 1) << "the new sink writes into the area the sensor kept";
    ASSERT_EQ(sensor_.TriggerCount(), 1u) << "its numbering starts again at 1";
    EXPECT_TRUE(sensor_.TriggerAt(0).Fired());
    second.Pass();
    EXPECT_EQ(host.Wait(), 0u);
}

}  // namespace
