// The recording sensor over a fake media status area: the recording count,
// the four Media Center flags and one trigger per recording.
#include "sensors/recording_sensor.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_shared_area_reader.h"

#include <gtest/gtest.h>

#include <cstring>
#include <span>

namespace {

class RecordingSensorTest : public testing::Test {
protected:
    RecordingSensorTest() : area_(reader_.Create(kMediaStatusAreaName)) {}

    void PutSlot(int index, uint32_t sequence, int32_t last_state, uint8_t in_use = kMediaStatusSlotInUse) {
        MediaStatusSlot slot{};
        slot.inUse = in_use;
        slot.sequence = sequence;
        slot.lastState = last_state;
        std::memcpy(area_.data() + MediaStatusSlotOffset(index), &slot, sizeof slot);
    }
    void ClearSlot(int index) { std::memset(area_.data() + MediaStatusSlotOffset(index), 0, sizeof(MediaStatusSlot)); }
    bool AnyFlag() const { return sensor_.Playing() || sensor_.Paused() || sensor_.Muted() || sensor_.Error(); }

    platform::fake::FakeClock clock_{1000};
    platform::fake::FakeSharedAreaReader reader_;
    std::span<uint8_t, platform::fake::FakeSharedAreaReader::kAreaSize> area_;
    cMceRecordingSensor sensor_{reader_, clock_};
};

TEST_F(RecordingSensorTest, StartsEmptyAndReadsNothingBeforeThePoll) {
    PutSlot(0, 1, msas::MSPROPTAG_Recording);
    EXPECT_EQ(sensor_.Name(), "MCERecording");
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_FALSE(AnyFlag());
    EXPECT_EQ(sensor_.TriggerCount(), 0u);
    EXPECT_EQ(reader_.OpenCalls(), 0);
}

TEST_F(RecordingSensorTest, NoSlotInUseMeansNoRecordingAndNoFlags) {
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_FALSE(AnyFlag());
}

TEST_F(RecordingSensorTest, MissingAreaIsUnreadable) {
    reader_.Release(kMediaStatusAreaName);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), cMceRecordingSensor::kUnreadable);
    EXPECT_EQ(sensor_.RecordingCount(), -1);
}

TEST_F(RecordingSensorTest, UnmappableAreaIsUnreadableAndClearsTheFlags) {
    PutSlot(0, 1, msas::MSPROPTAG_Play);
    sensor_.Poll();
    ASSERT_TRUE(sensor_.Playing());
    reader_.FailMapping(true);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), -1);
    EXPECT_FALSE(AnyFlag());
    reader_.FailMapping(false);
    sensor_.Poll();
    EXPECT_TRUE(sensor_.Playing()) << "the next poll tries again";
}

TEST_F(RecordingSensorTest, CountsRecordingsAndNamesTriggersAfterTheirSequence) {
    PutSlot(0, 7, msas::MSPROPTAG_Recording);
    PutSlot(5, 12, msas::MSPROPTAG_Recording);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 2);
    ASSERT_EQ(sensor_.TriggerCount(), 2u);
    EXPECT_EQ(sensor_.TriggerAt(0).Name(), "000007");
    EXPECT_EQ(sensor_.TriggerAt(1).Name(), "000012");
    EXPECT_TRUE(sensor_.TriggerAt(0).Fired());
    EXPECT_TRUE(sensor_.TriggerAt(1).Fired());
    EXPECT_FALSE(AnyFlag());
}

TEST_F(RecordingSensorTest, SequenceNamesHaveAtLeastSixDigits) {
    PutSlot(0, 1234567, msas::MSPROPTAG_Recording);
    PutSlot(1, 0xFFFFFFFF, msas::MSPROPTAG_Recording);
    PutSlot(2, 0, msas::MSPROPTAG_Recording);
    sensor_.Poll();
    EXPECT_NE(sensor_.FindTrigger("1234567"), nullptr);
    EXPECT_NE(sensor_.FindTrigger("4294967295"), nullptr);
    EXPECT_NE(sensor_.FindTrigger("000000"), nullptr);
}

TEST_F(RecordingSensorTest, OnlyRecordingsInProgressKeepATrigger) {
    PutSlot(0, 7, msas::MSPROPTAG_Recording);
    PutSlot(1, 8, msas::MSPROPTAG_Recording);
    sensor_.Poll();
    const cTrigger* running = sensor_.FindTrigger("000008");
    clock_.Advance(1000);
    ClearSlot(0);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 1);
    ASSERT_EQ(sensor_.TriggerCount(), 1u) << "the ended recording's trigger is gone";
    EXPECT_EQ(&sensor_.TriggerAt(0), running) << "the running one keeps its own";
    EXPECT_TRUE(running->Fired());
    EXPECT_EQ(running->LastFired(), 2000u);

    // A writer that renumbers its slots at every sample leaves no more triggers than slots.
    for (uint32_t sequence = 100; sequence < 1000; sequence += 15) {
        for (int slot = 0; slot < 15; ++slot) PutSlot(slot, sequence + slot, msas::MSPROPTAG_Recording);
        sensor_.Poll();
        ASSERT_EQ(sensor_.TriggerCount(), 15u);
    }
    reader_.FailMapping(true);
    sensor_.Poll();
    EXPECT_EQ(sensor_.TriggerCount(), 15u) << "an unreadable area says nothing about the recordings";
}

TEST_F(RecordingSensorTest, SlotsSharingASequenceCountTwiceWithOneTrigger) {
    PutSlot(0, 9, msas::MSPROPTAG_Recording);
    PutSlot(1, 9, msas::MSPROPTAG_Recording);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 2);
    EXPECT_EQ(sensor_.TriggerCount(), 1u);
}

TEST_F(RecordingSensorTest, EveryOneOfTheFifteenSlotsIsRead) {
    for (int slot = 0; slot < 15; ++slot) PutSlot(slot, slot + 1, msas::MSPROPTAG_Recording);
    PutSlot(15, 16, msas::MSPROPTAG_Recording);  // beyond the slots: never written, never read
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 15);
}

TEST_F(RecordingSensorTest, EachFlagComesFromItsOwnState) {
    PutSlot(0, 1, msas::MSPROPTAG_Play);
    PutSlot(1, 2, msas::MSPROPTAG_Pause);
    sensor_.Poll();
    EXPECT_TRUE(sensor_.Playing());
    EXPECT_TRUE(sensor_.Paused());
    EXPECT_FALSE(sensor_.Muted());
    EXPECT_FALSE(sensor_.Error());
    EXPECT_EQ(sensor_.RecordingCount(), 0);

    PutSlot(0, 1, msas::MSPROPTAG_Mute);
    PutSlot(1, 2, msas::MSPROPTAG_Error);
    sensor_.Poll();
    EXPECT_FALSE(sensor_.Playing());
    EXPECT_FALSE(sensor_.Paused());
    EXPECT_TRUE(sensor_.Muted());
    EXPECT_TRUE(sensor_.Error());
}

TEST_F(RecordingSensorTest, OnlyTheLastStateOfASlotCounts) {
    // A session that recorded and then played counts as playing.
    MediaStatusSlot slot{};
    slot.inUse = kMediaStatusSlotInUse;
    slot.sequence = 3;
    slot.stateFlags[msas::MSPROPTAG_Recording - msas::MSPROPTAG_Mute] = 1;
    slot.stateFlags[msas::MSPROPTAG_Play - msas::MSPROPTAG_Mute] = 1;
    slot.lastState = msas::MSPROPTAG_Play;
    std::memcpy(area_.data(), &slot, sizeof slot);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_TRUE(sensor_.Playing());
    EXPECT_EQ(sensor_.TriggerCount(), 0u);
}

TEST_F(RecordingSensorTest, OtherStatesCountForNothing) {
    PutSlot(0, 1, 0);
    PutSlot(1, 2, msas::MSPROPTAG_Stop);
    PutSlot(2, 3, msas::MSPROPTAG_Application);
    PutSlot(3, 4, msas::MSPROPTAG_FS_TV);
    PutSlot(4, 5, -1);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_FALSE(AnyFlag());
}

TEST_F(RecordingSensorTest, SlotCountsOnlyWhenInUseIsExactlyOne) {
    PutSlot(0, 1, msas::MSPROPTAG_Recording, 2);
    PutSlot(1, 2, msas::MSPROPTAG_Play, 0xFF);
    PutSlot(2, 3, msas::MSPROPTAG_Error, 0);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_FALSE(AnyFlag());
    EXPECT_EQ(sensor_.TriggerCount(), 0u);
}

TEST_F(RecordingSensorTest, EachPollReplacesCountAndFlags) {
    PutSlot(0, 1, msas::MSPROPTAG_Recording);
    PutSlot(1, 2, msas::MSPROPTAG_Mute);
    sensor_.Poll();
    ClearSlot(0);
    ClearSlot(1);
    sensor_.Poll();
    EXPECT_EQ(sensor_.RecordingCount(), 0);
    EXPECT_FALSE(AnyFlag());
    EXPECT_EQ(sensor_.TriggerCount(), 0u);
}

TEST_F(RecordingSensorTest, LeavesNoViewMappedBetweenPolls) {
    PutSlot(0, 1, msas::MSPROPTAG_Recording);
    sensor_.Poll();
    sensor_.Poll();
    EXPECT_EQ(reader_.MappedViews(), 0);
    EXPECT_EQ(reader_.OpenHandles(), 1);
    EXPECT_EQ(reader_.OpenCalls(), 1);
}

TEST(TriggerTest, StartsFiredAtTheCurrentTimeAndResets) {
    platform::fake::FakeClock clock(0xFFFFFFF0u);
    cMceRecordingTrigger trigger(clock, "000001");
    EXPECT_TRUE(trigger.Fired());
    EXPECT_EQ(trigger.LastFired(), 0xFFFFFFF0u);
    trigger.Reset();
    EXPECT_FALSE(trigger.Fired());
    EXPECT_EQ(trigger.LastFired(), 0xFFFFFFF0u);
    clock.Advance(0x20);
    trigger.Fire();
    EXPECT_TRUE(trigger.Fired());
    EXPECT_EQ(trigger.LastFired(), 0x10u);
}

}  // namespace
