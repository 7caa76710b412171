// The recording sensor reads, through a real named mapping, the slots that a
// writer in another process publishes, and keeps the area once it has it.
#include "child_process.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_shared_area_reader.h"
#include "sensors/recording_sensor.h"

#include <gtest/gtest.h>

namespace {

TEST(RecordingSensorAcrossProcesses, ReadsTheSlotsAnotherProcessWrites) {
    platform::win32::Win32SharedAreaReader reader;
    platform::win32::Win32Clock clock;
    cMceRecordingSensor sensor(reader, clock);
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), -1) << "no writer yet";

    {
        Checkpoint written("WriterWrote");
        ChildProcess writer("media_status_writer.exe", written.Arguments());
        ASSERT_TRUE(written.WaitReached());
        sensor.Poll();
        EXPECT_EQ(sensor.RecordingCount(), 2);
        EXPECT_TRUE(sensor.Playing());
        EXPECT_FALSE(sensor.Paused());
        ASSERT_EQ(sensor.TriggerCount(), 2u);
        EXPECT_EQ(sensor.TriggerAt(0).Name(), "000007");
        EXPECT_EQ(sensor.TriggerAt(1).Name(), "000012");
        written.Pass();
        EXPECT_EQ(writer.Wait(), 0u);
    }
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), 0) << "the area outlives its writer, cleared";
    EXPECT_FALSE(sensor.Playing());

    Checkpoint written_again("NextWriterWrote");
    ChildProcess next_writer("media_status_writer.exe", written_again.Arguments());
    ASSERT_TRUE(written_again.WaitReached());
    sensor.Poll();
    EXPECT_EQ(sensor.RecordingCount(), 2) << "a new writer writes into the area the sensor still holds";
    EXPECT_EQ(sensor.TriggerCount(), 2u);
    written_again.Pass();
    EXPECT_EQ(next_writer.Wait(), 0u);
}

}  // namespace
