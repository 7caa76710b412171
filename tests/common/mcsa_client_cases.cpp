// The media status client over named areas: connecting, the slots of a
// mapped view, and an area held beyond its writer's release.
#include "sensors/mcsa_client.h"
#include "tests/common/shared_area_fixture.h"

#include <cstring>

namespace {

constexpr const char* kAreaName = "GlimmerboxMSASClientTest";

using MediaStatusClient = SharedAreaFixture;

void WriteSlot(uint8_t* area, int index, uint32_t sequence, int32_t last_state) {
    MediaStatusSlot slot{};
    slot.inUse = kMediaStatusSlotInUse;
    slot.sequence = sequence;
    slot.lastState = last_state;
    std::memcpy(area + MediaStatusSlotOffset(index), &slot, sizeof slot);
}

TEST_F(MediaStatusClient, MapsNothingBeforeTheAreaExists) {
    cMcsaClient client(areas().Reader(), kAreaName);
    EXPECT_EQ(client.SlotCount(), 0);
    EXPECT_EQ(client.SlotAt(0), nullptr);
    EXPECT_FALSE(client.MapView());
    EXPECT_EQ(client.SlotCount(), 0);
    EXPECT_EQ(client.SlotAt(0), nullptr);
    EXPECT_TRUE(client.UnmapView()) << "no view to unmap";
}

TEST_F(MediaStatusClient, MappedViewHoldsFifteenSlotsFortyEightBytesApart) {
    uint8_t* area = areas().Create(kAreaName);
    WriteSlot(area, 14, 99, msas::MSPROPTAG_Pause);
    cMcsaClient client(areas().Reader(), kAreaName);
    ASSERT_TRUE(client.MapView());
    EXPECT_EQ(client.SlotCount(), 15);
    const auto* first = reinterpret_cast<const uint8_t*>(client.SlotAt(0));
    EXPECT_EQ(reinterpret_cast<const uint8_t*>(client.SlotAt(14)), first + 672);
    EXPECT_EQ(client.SlotAt(14)->sequence, 99u);
    EXPECT_EQ(client.SlotAt(14)->lastState, msas::MSPROPTAG_Pause);
    EXPECT_EQ(client.SlotAt(15), nullptr);
    EXPECT_EQ(client.SlotAt(-1), nullptr);
    EXPECT_TRUE(client.UnmapView());
    EXPECT_EQ(client.SlotCount(), 0);
    EXPECT_EQ(client.SlotAt(14), nullptr);
    areas().Release(kAreaName);
}

TEST_F(MediaStatusClient, ConnectsOnceTheAreaAppears) {
    cMcsaClient client(areas().Reader(), kAreaName);
    EXPECT_FALSE(client.MapView());
    WriteSlot(areas().Create(kAreaName), 0, 1, msas::MSPROPTAG_Play);
    ASSERT_TRUE(client.MapView());
    EXPECT_EQ(client.SlotAt(0)->lastState, msas::MSPROPTAG_Play);
    client.UnmapView();
    areas().Release(kAreaName);
}

TEST_F(MediaStatusClient, AreaReleasedBeforeAnyReaderConnectedIsGone) {
    areas().Create(kAreaName);
    areas().Release(kAreaName);
    cMcsaClient client(areas().Reader(), kAreaName);
    EXPECT_FALSE(client.MapView());
}

TEST_F(MediaStatusClient, HeldAreaOutlivesItsWriterAndMeetsTheNextOne) {
    uint8_t* area = areas().Create(kAreaName);
    WriteSlot(area, 3, 4, msas::MSPROPTAG_Recording);
    cMcsaClient client(areas().Reader(), kAreaName);
    ASSERT_TRUE(client.MapView());
    client.UnmapView();

    // An orderly writer clears its slots before it lets go.
    std::memset(area, 0, kMediaStatusSlotsSize);
    areas().Release(kAreaName);
    ASSERT_TRUE(client.MapView()) << "the client's handle keeps the area";
    EXPECT_EQ(client.SlotAt(3)->inUse, 0);
    client.UnmapView();

    // A writer that starts again gets the very area the client still holds.
    WriteSlot(areas().Create(kAreaName), 0, 1, msas::MSPROPTAG_Recording);
    ASSERT_TRUE(client.MapView());
    EXPECT_EQ(client.SlotAt(0)->inUse, kMediaStatusSlotInUse);
    EXPECT_EQ(client.SlotAt(0)->sequence, 1u);
    client.UnmapView();
    areas().Release(kAreaName);
}

}  // namespace
