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

TEST(DefaultRelations, FullColourLedsOfEveryKind) {
    std::vector<led_relation> without_media_center = {
        {event::PowerOn, 0, 12, 1}, {event::AwayMode, 0, 8, 2}, {event::ResumedForAutoTask, 0, 8, 2}};
    std::vector<led_relation> all = without_media_center;
    all.insert(all.end(), {{event::Recording1, 0, 6, 3}, {kRecording2, 0, 10, 3}, {event::ExtenderInUse, 0, 7, 3}});
    for (uint16_t hardware_id : {0x1008, 0x1080}) {
        EXPECT_EQ(DefaultsOf(hardware_id, 0), all);
        EXPECT_EQ(DefaultsOf(hardware_id, kHiddenNotShown), all);
        EXPECT_EQ(DefaultsOf(hardware_id, kNoMediaCenter), without_media_center);
    }
    // A USB light shows playback in green too; Kodi's needs no Media Center.
    const led_relation kodi_playing = {event::KodiPlaying, 0, 7, 2};
    all.insert(all.end(), {{event::McPlaying, 0, 7, 2}, kodi_playing});
    without_media_center.push_back(kodi_playing);
    EXPECT_EQ(DefaultsOf(0x3655, 0), all);
    EXPECT_EQ(DefaultsOf(0x3655, kNoMediaCenter), without_media_center);
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
    // Saves next over stored, cut short after each possible number of writes
    // in turn as a kill would cut it; the next start, whose own load may be
    // cut at the same count, and the one after it must load one list whole.
    void ExpectOldOrNewAfterEveryCut(const std::vector<led_relation>& stored, const std::vector<led_relation>& next) {
        platform::fake::FakeRegistry before;
        ASSERT_TRUE(ListOf(stored).Save(before, kHardwareId));
        for (int writes = 0;; ++writes) {
            SCOPED_TRACE(testing::Message() << "cut after " << writes << " writes");
            platform::fake::FakeRegistry registry(before);
            registry.FailWritesAfter(writes);
            const bool saved = ListOf(next).Save(registry, kHardwareId);
            std::vector<std::vector<led_relation>> starts;
            for (int restart_writes : {writes, -1}) {
                registry.FailWritesAfter(restart_writes);
                cRelationList loaded;
                EXPECT_TRUE(loaded.Load(registry, kHardwareId, catalogue_));
                starts.push_back(Records(loaded));
            }
            EXPECT_TRUE(starts[1] == stored || starts[1] == next) << starts[1].size() << " relations loaded";
            EXPECT_EQ(starts[0], starts[1]) << "a restart cut short changed which list the next one loads";
            if (saved) {
                EXPECT_EQ(starts[1], next);
                return;
            }
        }
    }

    cEventCatalogue catalogue_;
};

// Each edit of the configuration window over lists of 1, 2 and 50 distinct relations.
TEST_F(RelationSaveFailure, EveryEditCutAtAnyWriteLoadsTheOldListOrTheNewOneWhole) {
    const std::vector<led_relation> defaults = DefaultsOf(kHardwareId, 0);
    struct Edit {
        const char* name;
        void (*apply)(std::vector<led_relation>& relations, const std::vector<led_relation>& defaults);
    };
    const Edit edits[] = {
        {"Add", [](auto& relations, auto&) { relations.push_back({event::Recording1, 0, 2, 3}); }},
        {"Edit", [](auto& relations, auto&) { relations[relations.size() / 2] = {event::ExtenderInUse, 2, 9, 5}; }},
        {"Delete", [](auto& relations, auto&) { relations.erase(relations.begin()); }},
        {"Default", [](auto& relations, auto& defaults) { relations = defaults; }},
    };
    for (std::size_t size : {1, 2, 50}) {
        std::vector<led_relation> stored;
        for (std::size_t i = 0; i < size; ++i)
            stored.push_back({1u << (i % 27), static_cast<int32_t>(i), static_cast<int8_t>(i % 14),
                              static_cast<int8_t>(1 + i % 5)});
        for (const Edit& edit : edits) {
            SCOPED_TRACE(testing::Message() << edit.name << " over " << size);
            std::vector<led_relation> next = stored;
            edit.apply(next, defaults);
            ExpectOldOrNewAfterEveryCut(stored, next);
        }
    }
}

TEST_F(RelationSaveFailure, NothingStoredYetAndTheKeyCannotBeCreated) {
    platform::fake::FakeRegistry registry;
    registry.FailWritesAfter(0);
    EXPECT_FALSE(ListOf({{0x4, 0, 2, 3}}).Save(registry, kHardwareId));
}
