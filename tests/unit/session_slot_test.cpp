// A session's hold on its slot: it writes only while it owns the slot and
// the area exists, and a session that could not be made gives its slot back.
#include "sink/fake/memory_areas.h"
#include "sink/session_slot.h"

#include <gtest/gtest.h>

#include <algorithm>

using sink::fake::MemoryAreas;
using sink::fake::SlotOf;
using namespace msas;

namespace {

constexpr uint32_t kTrue = 0xFFFF;

struct FakeSession {
    SessionSlot slot;
};

class SessionSlotTest : public testing::Test {
protected:
    void SetUp() override {
        area_ = Join();
        reader_ = areas_.Open(kMediaStatusAreaName);
        ASSERT_TRUE(area_ && reader_);
    }
    // A sink's share of the process's area, as each sink the host makes joins it.
    std::shared_ptr<AreaShare> Join() {
        return AreaShare::Join([this] { return StatusArea::Make(areas_.NewBacking(), kMediaStatusAreaName, areas_.Milliseconds()); });
    }
    const MediaStatusSlot& Slot(std::size_t index) const { return SlotOf(*reader_, index); }
    bool AreaIsZero() const {
        return std::all_of(reader_->data.begin(), reader_->data.end(), [](std::byte b) { return b == std::byte{0}; });
    }

    MemoryAreas areas_;
    std::shared_ptr<AreaShare> area_;
    MemoryAreas::Reader reader_;
};

TEST_F(SessionSlotTest, AppliesToItsOwnSlot) {
    SessionSlot first = SessionSlot::Acquire(area_);
    SessionSlot second = SessionSlot::Acquire(area_);
    second.Apply(MSPROPTAG_Recording, kTrue);
    EXPECT_EQ(Slot(0).lastState, 0);
    EXPECT_EQ(Slot(1).lastState, MSPROPTAG_Recording);
}

TEST_F(SessionSlotTest, AfterReleaseItNeverWritesIntoTheNextOwnersSlot) {
    SessionSlot closed = SessionSlot::Acquire(area_);
    closed.Apply(MSPROPTAG_Play, kTrue);
    closed.Release();
    EXPECT_TRUE(AreaIsZero());
    SessionSlot next = SessionSlot::Acquire(area_);
    closed.Apply(MSPROPTAG_Error, kTrue);
    closed.Release();
    EXPECT_FALSE(closed.Holds());
    EXPECT_EQ(Slot(0).inUse, 1);
    EXPECT_EQ(Slot(0).sequence, 2u);
    EXPECT_EQ(Slot(0).lastState, 0);
}

TEST_F(SessionSlotTest, OutlivingItsAreaItTouchesNothing) {
    SessionSlot orphan = SessionSlot::Acquire(area_);
    area_.reset();  // the host released the sink first
    EXPECT_TRUE(AreaIsZero());
    EXPECT_FALSE(orphan.Holds());
    orphan.Apply(MSPROPTAG_Play, kTrue);
    orphan.Release();
    EXPECT_TRUE(AreaIsZero());
}

TEST_F(SessionSlotTest, WithoutAFreeSlotOrAnAreaItHoldsNothing) {
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) SessionSlot::Acquire(area_);
    SessionSlot sixteenth = SessionSlot::Acquire(area_);
    EXPECT_FALSE(sixteenth.Holds());
    sixteenth.Apply(MSPROPTAG_Play, kTrue);
    sixteenth.Release();
    for (std::size_t i = 0; i < kMediaStatusSlotCount; ++i) EXPECT_EQ(Slot(i).lastState, 0);
    EXPECT_FALSE(SessionSlot::Acquire(nullptr).Holds());
}

TEST_F(SessionSlotTest, TwoSinksShareOneAreaAndClearOnlyTheirOwnSessionsSlots) {
    SessionSlot first = SessionSlot::Acquire(area_);
    first.Apply(MSPROPTAG_Recording, kTrue);
    std::shared_ptr<AreaShare> second_sink = Join();  // the host re-creates its sink
    EXPECT_EQ(Slot(0).lastState, MSPROPTAG_Recording) << "joining clears nothing";
    SessionSlot second = SessionSlot::Acquire(second_sink);
    EXPECT_EQ(Slot(1).sequence, 2u) << "one numbering for the whole area";
    second.Apply(MSPROPTAG_Play, kTrue);
    // A session cannot free a slot that another sink handed out.
    area_->ClearSlot(1);
    EXPECT_EQ(Slot(1).lastState, MSPROPTAG_Play);

    area_.reset();  // the old sink goes: its session's slot is freed, the other's kept
    EXPECT_EQ(Slot(0).inUse, 0);
    EXPECT_EQ(Slot(1).lastState, MSPROPTAG_Play);
    first.Apply(MSPROPTAG_Error, kTrue);
    EXPECT_FALSE(first.Holds());
    SessionSlot third = SessionSlot::Acquire(second_sink);
    EXPECT_EQ(Slot(0).sequence, 3u);

    second_sink.reset();  // the last sink closes the area
    EXPECT_TRUE(AreaIsZero());
    area_ = Join();
    EXPECT_TRUE(SessionSlot::Acquire(area_).Holds());
    EXPECT_EQ(Slot(0).sequence, 1u) << "a new area numbers from 1 again";
}

TEST_F(SessionSlotTest, MovingHandsTheSlotOver) {
    SessionSlot from = SessionSlot::Acquire(area_);
    SessionSlot to = std::move(from);
    EXPECT_FALSE(from.Holds());
    from.Release();
    EXPECT_EQ(Slot(0).inUse, 1);
    to.Apply(MSPROPTAG_Mute, kTrue);
    EXPECT_EQ(Slot(0).lastState, MSPROPTAG_Mute);
}

TEST_F(SessionSlotTest, ASessionThatCannotBeMadeGivesItsSlotBack) {
    auto failed = OpenSession(area_, [](SessionSlot&) { return std::unique_ptr<FakeSession>(); });
    EXPECT_FALSE(failed);
    EXPECT_TRUE(AreaIsZero());
    auto made = OpenSession(area_, [](SessionSlot& slot) {
        return std::make_unique<FakeSession>(FakeSession{std::move(slot)});
    });
    ASSERT_TRUE(made);
    EXPECT_TRUE(made->slot.Holds());
    EXPECT_EQ(Slot(0).inUse, 1) << "the slot given back is the next one taken";
    EXPECT_EQ(Slot(0).sequence, 2u);
}

// Another process held the area's name when the sink came: a session made
// then is seen from its first change once the name is free, and the sink
// tries to map the area at most once a second.
TEST(SessionSlotWithoutArea, IsSeenOnceTheAreaCanBeMapped) {
    MemoryAreas areas;
    areas.FailMapping(true);
    auto share = AreaShare::Join(
        [&] { return StatusArea::Make(areas.NewBacking(), kMediaStatusAreaName, areas.Milliseconds()); });
    SessionSlot session = SessionSlot::Acquire(share);
    SessionSlot closed = SessionSlot::Acquire(share);
    closed.Release();
    session.Apply(MSPROPTAG_Play, kTrue);

    areas.FailMapping(false);
    areas.Advance(999);
    session.Apply(MSPROPTAG_Play, kTrue);
    EXPECT_FALSE(areas.Open(kMediaStatusAreaName)) << "tried again within a second";
    areas.Advance(1);
    session.Apply(MSPROPTAG_Recording, kTrue);
    closed.Apply(MSPROPTAG_Play, kTrue);

    MemoryAreas::Reader reader = areas.Open(kMediaStatusAreaName);
    ASSERT_TRUE(reader);
    EXPECT_TRUE(session.Holds());
    EXPECT_EQ(SlotOf(*reader, 0).sequence, 1u);
    EXPECT_EQ(SlotOf(*reader, 0).lastState, MSPROPTAG_Recording);
    EXPECT_EQ(SlotOf(*reader, 1).inUse, 0) << "a closed session took a slot";
}

}  // namespace
