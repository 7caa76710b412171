// The slot writer over areas in memory: what each tag does to a slot, how
// slots are handed out and numbered, and that nothing is written where it
// must not be (no view, an index out of range, a torn-down area).
#include "sink/fake/memory_areas.h"
#include "sink/status_area.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>

using sink::fake::MemoryAreas;
using sink::fake::SlotOf;
using namespace msas;

namespace {

constexpr uint32_t kTrue = 0xFFFF;  // VARIANT_TRUE's value field
constexpr uint32_t kFalse = 0;

bool AllZero(const MemoryAreas::Bytes& bytes, std::size_t from, std::size_t to) {
    return std::all_of(bytes.data.begin() + from, bytes.data.begin() + to, [](std::byte b) { return b == std::byte{0}; });
}

class StatusAreaTest : public testing::Test {
protected:
    void SetUp() override {
        area_ = StatusArea::Make(areas_.NewBacking(), kMediaStatusAreaName, areas_.Milliseconds());
        ASSERT_TRUE(area_ && area_->HasView());
        reader_ = areas_.Open(kMediaStatusAreaName);
        ASSERT_TRUE(reader_);
    }

    const MediaStatusSlot& Slot(std::size_t index) const { return SlotOf(*reader_, index); }
    // A slot taken and handed back to the test, as a session would own it.
    StatusArea::SlotIndex Take() {
        auto slot = area_->AcquireSlot();
        EXPECT_TRUE(slot);
        return slot.value_or(0);
    }
    // Writes through a view of its own, as a second writer of the same area would.
    MediaStatusSlot& ForeignSlot(std::size_t index) {
        if (!foreign_) {
            foreign_ = areas_.NewBacking();
            foreign_view_ = foreign_->Map(kMediaStatusAreaName);
        }
        return *reinterpret_cast<MediaStatusSlot*>(foreign_view_ + MediaStatusSlotOffset(index));
    }

    MemoryAreas areas_;
    std::shared_ptr<StatusArea> area_;
    MemoryAreas::Reader reader_;
    std::unique_ptr<SharedAreaBacking> foreign_;
    std::byte* foreign_view_ = nullptr;
};

TEST_F(StatusAreaTest, CreatingClearsTheSlotsOfAnAreaThatAlreadyExisted) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_Recording, kTrue);
    auto second = StatusArea::Make(areas_.NewBacking(), kMediaStatusAreaName, areas_.Milliseconds());
    EXPECT_TRUE(AllZero(*reader_, 0, kMediaStatusAreaSize));
    EXPECT_EQ(second->AcquireSlot(), 0u);
    EXPECT_EQ(Slot(0).sequence, 1u) << "each writer numbers from 1";
}

TEST_F(StatusAreaTest, SlotsAreTakenLowestFirstAndNumberedInOrder) {
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) {
        EXPECT_EQ(area_->AcquireSlot(), i);
        EXPECT_EQ(Slot(i).inUse, 1);
        EXPECT_EQ(Slot(i).sequence, i + 1);
    }
    // A session that set every field, the picture count and the reserved bytes included.
    std::memset(&ForeignSlot(3), 0xFF, sizeof(MediaStatusSlot));
    area_->ClearSlot(3);
    EXPECT_TRUE(AllZero(*reader_, MediaStatusSlotOffset(3), MediaStatusSlotOffset(4)));
    EXPECT_EQ(area_->AcquireSlot(), 3u);
    EXPECT_EQ(Slot(3).sequence, 16u);
}

TEST_F(StatusAreaTest, AFullAreaGivesNoSlotAndUsesNoNumber) {
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) Take();
    EXPECT_EQ(area_->AcquireSlot(), std::nullopt);
    area_->ClearSlot(7);
    EXPECT_EQ(area_->AcquireSlot(), 7u);
    EXPECT_EQ(Slot(7).sequence, 16u);
}

TEST_F(StatusAreaTest, ATakenSlotStartsFromZeroes) {
    ForeignSlot(0).trackTime = 99;  // left over by someone else, inUse still 0
    Take();
    EXPECT_EQ(Slot(0).trackTime, 0);
    EXPECT_EQ(Slot(0).inUse, 1);
}

TEST_F(StatusAreaTest, EachStateTagSetsItsOwnByteAndLastState) {
    auto slot = Take();
    for (int32_t tag = MSPROPTAG_Mute; tag <= MSPROPTAG_Ejecting; ++tag) {
        area_->ApplyProperty(slot, tag, kTrue);
        EXPECT_EQ(Slot(slot).lastState, tag);
        EXPECT_EQ(Slot(slot).stateFlags[tag - MSPROPTAG_Mute], 1) << std::hex << tag;
    }
    for (int32_t tag = MSPROPTAG_Mute; tag <= MSPROPTAG_Ejecting; ++tag) {
        area_->ApplyProperty(slot, tag, kFalse);
        EXPECT_EQ(Slot(slot).stateFlags[tag - MSPROPTAG_Mute], 0) << std::hex << tag;
    }
    EXPECT_EQ(Slot(slot).lastState, 0);
    EXPECT_TRUE(AllZero(*reader_, MediaStatusSlotOffset(slot) + 8, MediaStatusSlotOffset(slot + 1)));
}

TEST_F(StatusAreaTest, PauseAfterPlayLeavesBothBytesAndShowsPause) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_Play, kTrue);
    area_->ApplyProperty(slot, MSPROPTAG_Pause, kTrue);
    EXPECT_EQ(Slot(slot).lastState, MSPROPTAG_Pause);
    EXPECT_EQ(Slot(slot).stateFlags[1], 1);
    EXPECT_EQ(Slot(slot).stateFlags[2], 1);
}

TEST_F(StatusAreaTest, FalseClearsLastStateEvenWhenOtherBytesStaySet) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_Recording, kTrue);
    area_->ApplyProperty(slot, MSPROPTAG_Play, kFalse);
    EXPECT_EQ(Slot(slot).lastState, 0);
    EXPECT_EQ(Slot(slot).stateFlags[MSPROPTAG_Recording - MSPROPTAG_Mute], 1);
}

TEST_F(StatusAreaTest, TruthIsTheLowSixteenBitsOfTheValueField) {
    auto slot = Take();
    const std::pair<uint32_t, bool> truths[] = {{0x0001, true}, {0x0100, true}, {0x8000, true}, {0x10000, false}};
    for (auto [value_field, is_true] : truths) {
        area_->ApplyProperty(slot, MSPROPTAG_Mute, value_field);
        EXPECT_EQ(Slot(slot).lastState, is_true ? MSPROPTAG_Mute : 0) << std::hex << value_field;
        EXPECT_EQ(Slot(slot).stateFlags[0], is_true ? 1 : 0) << std::hex << value_field;
    }
}

TEST_F(StatusAreaTest, EveryTagWithTheStateBitSetsLastStateButOnlyTheTableSetsBytes) {
    auto slot = Take();
    for (int32_t tag : {MSPROPTAG_MSASPrivateTags, MSPROPTAG_Application, 0x1011}) {
        area_->ApplyProperty(slot, MSPROPTAG_Play, kTrue);
        area_->ApplyProperty(slot, tag, kTrue);
        EXPECT_EQ(Slot(slot).lastState, tag);
        area_->ApplyProperty(slot, tag, kFalse);
        EXPECT_EQ(Slot(slot).lastState, 0);
    }
    for (std::size_t i = 0; i < kMediaStatusStateFlagCount; ++i) EXPECT_EQ(Slot(slot).stateFlags[i], i == 1 ? 1 : 0);
    EXPECT_EQ(Slot(slot).reserved2[0], 0) << "0x1011 is past the last state byte";
}

TEST_F(StatusAreaTest, ExperienceTagsSetTheExperienceOrUnknownWhenFalse) {
    auto slot = Take();
    for (int32_t tag : {MSPROPTAG_FS_Home, MSPROPTAG_FS_TV, MSPROPTAG_FS_DVD, MSPROPTAG_FS_Guide, MSPROPTAG_FS_Music,
                        MSPROPTAG_FS_Photos, MSPROPTAG_FS_Videos, MSPROPTAG_FS_RecordedShows, MSPROPTAG_FS_Unknown,
                        MSPROPTAG_FS_Radio, MSPROPTAG_FS_Extensibility}) {
        area_->ApplyProperty(slot, tag, kTrue);
        EXPECT_EQ(Slot(slot).experience, tag);
        area_->ApplyProperty(slot, MSPROPTAG_FS_Home, kTrue);
        area_->ApplyProperty(slot, tag, kFalse);
        EXPECT_EQ(Slot(slot).experience, MSPROPTAG_FS_Unknown);
    }
    EXPECT_EQ(Slot(slot).lastState, 0) << "experience tags do not carry the state bit";
}

TEST_F(StatusAreaTest, TrackTimeKeepsTheWholeValueFieldWhateverItsTruth) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_TrackTime, 0x10000);
    EXPECT_EQ(Slot(slot).trackTime, 0x10000);
    area_->ApplyProperty(slot, MSPROPTAG_TrackTime, 0xFFFFFFFF);
    EXPECT_EQ(Slot(slot).trackTime, -1);
}

TEST_F(StatusAreaTest, EveryPictureCountsWhateverItsValueAndTheCountWraps) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_CurrentPicture, kFalse);
    area_->ApplyProperty(slot, MSPROPTAG_CurrentPicture, kTrue);
    EXPECT_EQ(Slot(slot).pictureCount, 2u);
    ForeignSlot(slot).pictureCount = 0xFFFFFFFF;
    area_->ApplyProperty(slot, MSPROPTAG_CurrentPicture, kTrue);
    EXPECT_EQ(Slot(slot).pictureCount, 0u);
}

TEST_F(StatusAreaTest, TheDiscWriterFieldHoldsWhicheverOfStartAndStopCameLast) {
    auto slot = Take();
    area_->ApplyProperty(slot, MSPROPTAG_DiscWriter_Start, kFalse);
    EXPECT_EQ(Slot(slot).discWriter, MSPROPTAG_DiscWriter_Start);
    area_->ApplyProperty(slot, MSPROPTAG_DiscWriter_Stop, kTrue);
    EXPECT_EQ(Slot(slot).discWriter, MSPROPTAG_DiscWriter_Stop);
}

TEST_F(StatusAreaTest, TagsWithNeitherBitAndUnnamedMediaTypesChangeNothing) {
    auto slot = Take();
    MediaStatusSlot before = Slot(slot);
    for (int32_t tag : {MSPROPTAG_Unknown, 0x0FFF, 0x4000, MSPROPTAG_MediaTypes, 0x2007, 0x202E})
        area_->ApplyProperty(slot, tag, kTrue);
    EXPECT_EQ(std::memcmp(&before, &Slot(slot), sizeof before), 0);
}

TEST_F(StatusAreaTest, IndexesOutOfRangeTouchNothing) {
    area_->ApplyProperty(kMediaStatusSlotCount, MSPROPTAG_Play, kTrue);
    area_->ApplyProperty(static_cast<StatusArea::SlotIndex>(-1), MSPROPTAG_Play, kTrue);
    area_->ClearSlot(kMediaStatusSlotCount);
    EXPECT_TRUE(AllZero(*reader_, 0, kMediaStatusAreaSize));
}

TEST_F(StatusAreaTest, TeardownZeroesAllSlotsAndLaterCallsDoNothing) {
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) area_->ApplyProperty(Take(), MSPROPTAG_Recording, kTrue);
    area_->Teardown();
    EXPECT_FALSE(area_->HasView());
    EXPECT_TRUE(AllZero(*reader_, 0, kMediaStatusAreaSize));
    EXPECT_EQ(area_->AcquireSlot(), std::nullopt);
    area_->ApplyProperty(0, MSPROPTAG_Play, kTrue);
    EXPECT_TRUE(AllZero(*reader_, 0, kMediaStatusAreaSize));
}

TEST_F(StatusAreaTest, TheAreaLivesOnWhileAReaderHoldsIt) {
    area_.reset();
    EXPECT_TRUE(areas_.Open(kMediaStatusAreaName));
    reader_.reset();
    EXPECT_FALSE(areas_.Open(kMediaStatusAreaName));
}

TEST(StatusAreaWithoutView, NoSlotIsGivenAndNothingFails) {
    MemoryAreas areas;
    areas.FailMapping(true);
    auto area = StatusArea::Make(areas.NewBacking(), kMediaStatusAreaName, areas.Milliseconds());
    ASSERT_TRUE(area);
    EXPECT_FALSE(area->HasView());
    EXPECT_EQ(area->AcquireSlot(), std::nullopt);
    area->ApplyProperty(0, MSPROPTAG_Play, kTrue);
    area->ClearSlot(0);
    area->Teardown();
    areas.FailMapping(false);
    areas.Advance(60000);
    EXPECT_EQ(area->AcquireSlot(), std::nullopt) << "a torn-down area is not mapped again";
    EXPECT_FALSE(areas.Open(kMediaStatusAreaName));
}

TEST(StatusAreaWithoutView, NoBackingGivesNoArea) {
    EXPECT_EQ(StatusArea::Make(nullptr, kMediaStatusAreaName, [] { return 0u; }), nullptr);
}

}  // namespace
