// How relation lists lie in the registry, over the fake and the real one alike.
#include "engine/relation.h"
#include "tests/common/registry_fixture.h"

#include <algorithm>

using platform::RegistryRoot;

class RelationStorage : public RegistryFixture {
protected:
    static constexpr uint16_t kHardwareId = 0x100A;

    std::unique_ptr<platform::RegistryKey> RelationsKey() {
        return registry().OpenOrCreate(RegistryRoot::CurrentUser, RelationsKeyPath(kHardwareId));
    }
    std::vector<std::string> StoredNames() {
        auto key = registry().OpenReadOnly(RegistryRoot::CurrentUser, RelationsKeyPath(kHardwareId));
        if (!key) return {};
        std::vector<std::string> names = key->ValueNames();
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<led_relation> Loaded(bool expect_every_relation_read = true) {
        cRelationList list;
        EXPECT_EQ(list.Load(registry(), kHardwareId, catalogue_), expect_every_relation_read);
        std::vector<led_relation> relations;
        for (const auto& record : list) relations.push_back(*record);
        return relations;
    }
    void Store(const std::vector<led_relation>& relations) {
        cRelationList list;
        for (const led_relation& relation : relations) list.Add(relation);
        ASSERT_TRUE(list.Save(registry(), kHardwareId));
    }

    cEventCatalogue catalogue_;
};

TEST_F(RelationStorage, KeyIsNamedAfterTheHardwareIdInUpperCaseHex) {
    EXPECT_EQ(RelationsKeyPath(0x100A), "\\Software\\Quillmoor\\Glimmerbox\\100A\\Relations");
    EXPECT_EQ(RelationsKeyPath(0x2003), "\\Software\\Quillmoor\\Glimmerbox\\2003\\Relations");
    EXPECT_EQ(RelationsKeyPath(0x0FF), "\\Software\\Quillmoor\\Glimmerbox\\00FF\\Relations");
    EXPECT_EQ(RelationsKeyPath(0xFFFF), "\\Software\\Quillmoor\\Glimmerbox\\FFFF\\Relations");
}

TEST_F(RelationStorage, SavesFourSignExtendedValuesPerRelationInListOrder) {
    Store({{0x4, 0, 3, 3}, {0x100, 1, -1, -2}});

    auto key = RelationsKey();
    EXPECT_EQ(key->ReadDword("Relation0Event"), 0x4u);
    EXPECT_EQ(key->ReadDword("Relation0LED"), 0u);
    EXPECT_EQ(key->ReadDword("Relation0State"), 3u);
    EXPECT_EQ(key->ReadDword("Relation0Priority"), 3u);
    EXPECT_EQ(key->ReadDword("Relation1Event"), 0x100u);
    EXPECT_EQ(key->ReadDword("Relation1LED"), 1u);
    EXPECT_EQ(key->ReadDword("Relation1State"), 0xFFFFFFFFu);
    EXPECT_EQ(key->ReadDword("Relation1Priority"), 0xFFFFFFFEu);
    EXPECT_EQ(StoredNames().size(), 8u);
}

TEST_F(RelationStorage, LoadsWhatWasSavedIncludingOutOfRangeValues) {
    const std::vector<led_relation> relations = {
        {0x4, 0, 3, 3}, {0x4, 0, 3, 3}, {0x3, 7, -1, 0}, {0x80000000, -1, 14, 6}};
    Store(relations);
    EXPECT_EQ(Loaded(), relations);
}

TEST_F(RelationStorage, EmptyListIsStoredAsAnEmptyKeyAndLoadsEmpty) {
    Store({});
    EXPECT_TRUE(registry().KeyExists(RegistryRoot::CurrentUser, RelationsKeyPath(kHardwareId)));
    EXPECT_TRUE(Loaded().empty()) << "an empty stored list is not replaced by the defaults";
}

TEST_F(RelationStorage, NothingStoredLoadsTheDefaultsWithoutStoringThem) {
    EXPECT_EQ(Loaded().size(), 3u);
    EXPECT_FALSE(registry().KeyExists(RegistryRoot::CurrentUser, RelationsKeyPath(kHardwareId)));
}

TEST_F(RelationStorage, MissingStateAndPriorityLoadAsUndefinedAndNormal) {
    auto key = RelationsKey();
    key->WriteDword("Relation0Event", 0x4);
    key->WriteDword("Relation0LED", 1);
    EXPECT_EQ(Loaded(), (std::vector<led_relation>{{0x4, 1, 0, 3}}));
}

TEST_F(RelationStorage, GapInTheNumberingEndsTheList) {
    auto key = RelationsKey();
    for (const char* index : {"0", "2"}) {
        key->WriteDword(std::string("Relation") + index + "Event", 0x4);
        key->WriteDword(std::string("Relation") + index + "LED", 0);
    }
    EXPECT_EQ(Loaded().size(), 1u);
}

TEST_F(RelationStorage, StateAndPriorityKeepTheirLowEightBits) {
    auto key = RelationsKey();
    key->WriteDword("Relation0Event", 0x4);
    key->WriteDword("Relation0LED", 0);
    key->WriteDword("Relation0State", 0x1FF);
    key->WriteDword("Relation0Priority", 300);
    EXPECT_EQ(Loaded(), (std::vector<led_relation>{{0x4, 0, -1, 44}}));
}

TEST_F(RelationStorage, ValueOfTheWrongTypeSkipsOnlyItsRelation) {
    Store({{0x4, 0, 2, 3}, {0x8, 0, 4, 3}, {0x100, 1, 2, 3}, {0x200, 0, 8, 2}});
    auto key = RelationsKey();
    key->WriteString("Relation1LED", "0");
    key->WriteString("Relation2State", "2");
    EXPECT_EQ(Loaded(false), (std::vector<led_relation>{{0x4, 0, 2, 3}, {0x200, 0, 8, 2}}));

    key->WriteString("Relation0Event", "4");
    EXPECT_EQ(Loaded(false), (std::vector<led_relation>{{0x200, 0, 8, 2}}))
        << "an event of the wrong type skips its relation instead of ending the list";
}

TEST_F(RelationStorage, MissingLedSkipsItsRelation) {
    auto key = RelationsKey();
    key->WriteDword("Relation0Event", 0x4);
    key->WriteDword("Relation1Event", 0x8);
    key->WriteDword("Relation1LED", 0);
    EXPECT_EQ(Loaded(false), (std::vector<led_relation>{{0x8, 0, 0, 3}}));
}

TEST_F(RelationStorage, ShorterListLeavesNoOldRelationBehind) {
    Store({{0x4, 0, 2, 3}, {0x8, 0, 4, 3}, {0x100, 1, 2, 3}});
    RelationsKey()->WriteDword("Stray", 1);
    Store({{0x200, 0, 8, 2}});
    EXPECT_EQ(Loaded(), (std::vector<led_relation>{{0x200, 0, 8, 2}}));
    EXPECT_EQ(StoredNames(), (std::vector<std::string>{"Relation0Event", "Relation0LED", "Relation0Priority",
                                                       "Relation0State"}));
}

TEST_F(RelationStorage, RelationsStoredBeyondAGapStayHiddenAfterTheGapIsFilled) {
    Store({{0x4, 0, 2, 3}});
    auto key = RelationsKey();
    key->WriteDword("Relation2Event", 0x8);  // left beyond a gap, by another writer of the key
    key->WriteDword("Relation2LED", 1);
    EXPECT_EQ(Loaded(), (std::vector<led_relation>{{0x4, 0, 2, 3}})) << "the gap ends the list";

    Store({{0x4, 0, 2, 3}, {0x100, 1, 4, 3}});
    EXPECT_EQ(Loaded(), (std::vector<led_relation>{{0x4, 0, 2, 3}, {0x100, 1, 4, 3}}))
        << "filling the gap does not bring the relation beyond it back";
}

TEST_F(RelationStorage, ListsOfOtherHardwareIdsAreLeftAlone) {
    Store({{0x4, 0, 2, 3}});
    cRelationList other;
    other.Add({0x8, 0, 4, 3});
    ASSERT_TRUE(other.Save(registry(), 0x2003));
    Store({});
    cRelationList reloaded;
    EXPECT_TRUE(reloaded.Load(registry(), 0x2003, catalogue_));
    ASSERT_EQ(reloaded.size(), 1u);
    EXPECT_EQ(reloaded[0].event, 0x8u);
}
