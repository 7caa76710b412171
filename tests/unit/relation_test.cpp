// The default lists of each device kind, list edits, and what a failing save leaves stored.
#include "engine/relation.h"
#include "platform/fake/fake_registry.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr uint32_t kRecording2 = event::Recording1 << 1;
constexpr uint8_t kHiddenNotShown = event_flag::Hidden;
constexpr uint8_t kNoMediaCenter = event_flag::Hidden | event_flag::NeedsMediaCenter;

std::vector<led_relation> Records(const cRelationList& list) {
    std::vector<led_relation> relations;
    for (const auto& record : list) relations.push_back(*record);
    return relations;
}

std::vector<led_relation> DefaultsOf(uint16_t hardware_id, uint8_t exclusion_flags) {
    cEventCatalogue catalogue;
    catalogue.RecomputeAvailability(exclusion_flags);
    cRelationList list;
    list.Add({0x2, 3, 1, 1});  // replaced, not kept
    list.LoadDefaults(hardware_id, catalogue);
    return Records(list);
}

const led_relation kPowerOnRow = {event::PowerOn, 0, 2, 1};

}  // namespace

TEST(DefaultRelations, SingleLedNormallyOn) {
    const std::vector<led_relation> all = {kPowerOnRow, {event::Recording1, 0, 3, 3}, {kRecording2, 0, 5, 3}};
    EXPECT_EQ(DefaultsOf(0x1002, 0), all);
    EXPECT_EQ(DefaultsOf(0x1002, kHiddenNotShown), all);
    EXPECT_EQ(DefaultsOf(0x1002, kNoMediaCenter), std::vector<led_relation>{kPowerOnRow});
}

TEST(DefaultRelations, FullColourLedsOfBothKinds) {
    const std::vector<led_relation> without_media_center = {
        {event::PowerOn, 0, 12, 1}, {event::AwayMode, 0, 8, 2}, {event::ResumedForAutoTask, 0, 8, 2}};
    std::vector<led_relation> all = without_media_center;
    all.insert(all.end(), {{event::Recording1, 0, 6, 3}, {kRecording2, 0, 10, 3}, {event::ExtenderInUse, 0, 7, 3}});
    for (uint16_t hardware_id : {0x1008, 0x1080}) {
        EXPECT_EQ(DefaultsOf(hardware_id, 0), all);
        EXPECT_EQ(DefaultsOf(hardware_id, kHiddenNotShown), all);
        EXPECT_EQ(DefaultsOf(hardware_id, kNoMediaCenter), without_media_center);
    }
}

TEST(DefaultRelations, SingleLedNormallyOff) {
    const std::vector<led_relation> all = {{event::Recording1, 0, 2, 3}, {kRecording2, 0, 4, 3}};
    EXPECT_EQ(DefaultsOf(0x1010, 0), all);
    EXPECT_EQ(DefaultsOf(0x1010, kNoMediaCenter), std::vector<led_relation>{kPowerOnRow});
}

TEST(DefaultRelations, EveryOtherDeviceKind) {
    const std::vector<led_relation> all = {
        {event::Recording1, 0, 2, 3}, {kRecording2, 0, 4, 3}, {event::ExtenderInUse, 1, 2, 3}};
    for (uint16_t hardware_id : {0x1000, 0x1001, 0x1020, 0x100A, 0x2003, 0x2004, 0x0000}) {
        EXPECT_EQ(DefaultsOf(hardware_id, 0), all) << hardware_id;
        EXPECT_EQ(DefaultsOf(hardware_id, kHiddenNotShown | event_flag::NeedsVista), all) << hardware_id;
        EXPECT_EQ(DefaultsOf(hardware_id, kNoMediaCenter), std::vector<led_relation>{kPowerOnRow}) << hardware_id;
    }
}

TEST(RelationList, RecordsKeepTheirAddressWhileTheListGrowsAndShrinks) {
    cRelationList list;
    led_relation& first = list.Add({0x4, 0, 2, 3});
    for (int i = 0; i < 100; ++i) list.Add({0x8, 0, 4, 3});
    EXPECT_EQ(&list[0], &first);
    list.Remove(1);
    list.Remove(500);
    EXPECT_EQ(list.size(), 100u);
    EXPECT_EQ(&list[0], &first);
}

class RelationSaveFailure : public testing::Test {
protected:
    static constexpr uint16_t kHardwareId = 0x1008;

    static cRelationList ListOf(const std::vector<led_relation>& relations) {
        cRelationList list;
        for (const led_relation& relation : relations) list.Add(relation);
        return list;
    }
    // Saves next over stored with the registry failing after each possible
    // number of writes in turn, and hands each outcome to check: whether the
    // save succeeded, whether loading read every stored relation, and what it loaded.
    template <typename Check>
    void ForEveryFailurePoint(const std::vector<led_relation>& stored, const std::vector<led_relation>& next,
                              Check check) {
        for (int writes = 0;; ++writes) {
            SCOPED_TRACE(testing::Message() << "failing after " << writes << " writes");
            platform::fake::FakeRegistry registry;
            ASSERT_TRUE(ListOf(stored).Save(registry, kHardwareId));
            registry.FailWritesAfter(writes);
            const bool saved = ListOf(next).Save(registry, kHardwareId);
            registry.FailWritesAfter(-1);
            cRelationList loaded;
            const bool every_relation_read = loaded.Load(registry, kHardwareId, catalogue_);
            check(saved, every_relation_read, Records(loaded));
            if (saved) return;
        }
    }

    cEventCatalogue catalogue_;
};

TEST_F(RelationSaveFailure, SucceedsOnlyWithTheWholeListStoredAndNeverLeavesAMixedRelation) {
    const std::vector<led_relation> stored = {{0x4, 0, 2, 3}, {0x8, 0, 4, 3}, {0x100, 1, 2, 3}};
    const std::vector<led_relation> next = {{0x200, 2, 8, 2}, {0x400, 3, 9, 1}};
    int failures = 0;
    ForEveryFailurePoint(stored, next, [&](bool saved, bool every_relation_read, const std::vector<led_relation>& loaded) {
        if (saved) {
            EXPECT_TRUE(every_relation_read);
            EXPECT_EQ(loaded, next);
            return;
        }
        ++failures;
        // A relation caught half-written is skipped, and loading says so.
        for (const led_relation& relation : loaded) {
            const bool made_by_user = std::find(stored.begin(), stored.end(), relation) != stored.end() ||
                                      std::find(next.begin(), next.end(), relation) != next.end();
            EXPECT_TRUE(made_by_user) << "event " << relation.event << " LED " << relation.led;
        }
        if (!every_relation_read) return;
        ASSERT_GE(loaded.size(), next.size());
        for (std::size_t i = 0; i < loaded.size(); ++i)
            EXPECT_TRUE((i < stored.size() && loaded[i] == stored[i]) || (i < next.size() && loaded[i] == next[i]))
                << "index " << i;
    });
    EXPECT_GT(failures, 8) << "every write of the new list and every removal was made to fail once";
}

TEST_F(RelationSaveFailure, GrowingListKeepsTheOldRelations) {
    const std::vector<led_relation> stored = {{0x4, 0, 2, 3}};
    const std::vector<led_relation> next = {{0x4, 0, 2, 3}, {0x8, 0, 4, 3}, {0x100, 1, 2, 3}};
    ForEveryFailurePoint(stored, next, [&](bool saved, bool, const std::vector<led_relation>& loaded) {
        if (saved) {
            EXPECT_EQ(loaded, next);
        }
        ASSERT_FALSE(loaded.empty());
        EXPECT_EQ(loaded[0], stored[0]);
    });
}

TEST_F(RelationSaveFailure, NothingStoredYetAndTheKeyCannotBeCreated) {
    platform::fake::FakeRegistry registry;
    registry.FailWritesAfter(0);
    EXPECT_FALSE(ListOf({{0x4, 0, 2, 3}}).Save(registry, kHardwareId));
}
