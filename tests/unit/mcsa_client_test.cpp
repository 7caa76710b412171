// The media status client's handle and views: opened once, every view
// unmapped, everything closed at the end, failures retried.
#include "sensors/mcsa_client.h"

#include "platform/fake/fake_shared_area_reader.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::fake::FakeSharedAreaReader;

class McsaClientTest : public testing::Test {
protected:
    FakeSharedAreaReader reader_;
};

TEST_F(McsaClientTest, OpensTheAreaOnceAndKeepsItOpen) {
    reader_.Create(kMediaStatusAreaName);
    cMcsaClient client(reader_, kMediaStatusAreaName);
    EXPECT_EQ(reader_.OpenCalls(), 0) << "nothing is opened before the first sample";
    for (int sample = 0; sample < 3; ++sample) {
        ASSERT_TRUE(client.MapView());
        EXPECT_EQ(reader_.MappedViews(), 1);
        EXPECT_TRUE(client.UnmapView());
        EXPECT_EQ(reader_.MappedViews(), 0);
    }
    EXPECT_EQ(reader_.OpenCalls(), 1);
    EXPECT_EQ(reader_.OpenHandles(), 1);
}

TEST_F(McsaClientTest, MissingAreaIsAskedForAgainAtEachSample) {
    cMcsaClient client(reader_, kMediaStatusAreaName);
    EXPECT_FALSE(client.MapView());
    EXPECT_FALSE(client.MapView());
    EXPECT_EQ(reader_.OpenCalls(), 2);
    EXPECT_EQ(reader_.OpenHandles(), 0);
}

TEST_F(McsaClientTest, FailedMappingKeepsTheHandleForTheNextTry) {
    reader_.Create(kMediaStatusAreaName);
    cMcsaClient client(reader_, kMediaStatusAreaName);
    reader_.FailMapping(true);
    EXPECT_FALSE(client.MapView());
    EXPECT_EQ(client.SlotCount(), 0);
    EXPECT_EQ(reader_.OpenHandles(), 1);
    reader_.FailMapping(false);
    EXPECT_TRUE(client.MapView());
    EXPECT_EQ(reader_.OpenCalls(), 1);
}

TEST_F(McsaClientTest, MappingAgainReplacesTheViewWithoutLeakingIt) {
    reader_.Create(kMediaStatusAreaName);
    cMcsaClient client(reader_, kMediaStatusAreaName);
    ASSERT_TRUE(client.MapView());
    ASSERT_TRUE(client.MapView());
    EXPECT_EQ(reader_.MappedViews(), 1);
}

TEST_F(McsaClientTest, RefusedUnmappingIsReportedAndTheViewDropped) {
    reader_.Create(kMediaStatusAreaName);
    cMcsaClient client(reader_, kMediaStatusAreaName);
    ASSERT_TRUE(client.MapView());
    reader_.FailUnmapping(true);
    EXPECT_FALSE(client.UnmapView());
    EXPECT_EQ(client.SlotCount(), 0);
    EXPECT_TRUE(client.UnmapView());
}

TEST_F(McsaClientTest, DestructionUnmapsAndClosesTheArea) {
    reader_.Create(kMediaStatusAreaName);
    {
        cMcsaClient client(reader_, kMediaStatusAreaName);
        ASSERT_TRUE(client.MapView());
    }
    EXPECT_EQ(reader_.MappedViews(), 0);
    EXPECT_EQ(reader_.OpenHandles(), 0);
}

TEST_F(McsaClientTest, OverlongNameIsCutTo259Characters) {
    const std::string kept(259, 'G');
    reader_.Create(kept);
    cMcsaClient client(reader_, kept + "MSAS");
    EXPECT_TRUE(client.MapView());
}

}  // namespace
