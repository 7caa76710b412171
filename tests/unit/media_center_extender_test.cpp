// Counting extender and remote desktop sessions at session changes.
#include "sensors/media_center_extender.h"

#include "platform/fake/fake_sessions.h"

#include <gtest/gtest.h>

using platform::SessionState;
using platform::fake::FakeSessions;

namespace {

constexpr uint16_t kConsole = platform::kWtsProtocolTypeConsole;
constexpr uint16_t kRdp = platform::kWtsProtocolTypeRdp;

class MediaCenterExtenderTest : public testing::Test {
protected:
    MediaCenterExtenderTest() { sessions_.Add({1, SessionState::Active, kConsole, "Viewer"}); }

    FakeSessions::Session& AddRdp(uint32_t id, const std::string& user, SessionState state = SessionState::Active) {
        return sessions_.Add({id, state, kRdp, user});
    }
    // The counts after a notification with code and session id.
    std::pair<int, int> CountsAfter(uint32_t code, uint32_t session_id) {
        cMediaCenterExtender extender(sessions_);
        extender.Update(code, session_id);
        return {extender.ExtenderCount(), extender.RemoteSessionCount()};
    }

    FakeSessions sessions_;
};

TEST_F(MediaCenterExtenderTest, CountsAtConstruction) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    cMediaCenterExtender extender(sessions_);
    EXPECT_EQ(extender.ExtenderCount(), 1);
    EXPECT_EQ(extender.RemoteSessionCount(), 0);
}

TEST_F(MediaCenterExtenderTest, OnlyTheConsoleCountsForNothing) {
    EXPECT_EQ(CountsAfter(0, 0), std::make_pair(0, 0));
}

TEST_F(MediaCenterExtenderTest, ExtenderIsToldApartByCaseSensitiveMcx) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    AddRdp(3, "mcx1-den");
    AddRdp(4, "DOMAIN\\OldMcxBox");
    AddRdp(5, "MCX2");
    EXPECT_EQ(CountsAfter(0, 0), std::make_pair(2, 2));
}

TEST_F(MediaCenterExtenderTest, OnlyActiveRdpSessionsCount) {
    sessions_.Add({2, SessionState::Active, kConsole, "Mcx1-CONSOLE"});
    sessions_.Add({3, SessionState::Active, 1, "Mcx1-ICA"});
    AddRdp(4, "Mcx2", SessionState::Disconnected);
    AddRdp(5, "Alice", SessionState::Idle);
    AddRdp(6, "", SessionState::Listen);
    AddRdp(7, "Bob", SessionState::Connected);
    EXPECT_EQ(CountsAfter(0, 0), std::make_pair(0, 0));
}

TEST_F(MediaCenterExtenderTest, SessionWhoseQueriesFailIsNotCounted) {
    AddRdp(2, "Mcx1-LIVINGROOM").queries_fail = true;
    AddRdp(3, "Mcx1-DEN");
    EXPECT_EQ(CountsAfter(0, 0), std::make_pair(1, 0));
}

TEST_F(MediaCenterExtenderTest, FailedEnumerationCountsNothing) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    AddRdp(3, "Alice");
    cMediaCenterExtender extender(sessions_);
    sessions_.FailEnumeration(true);
    extender.Update(platform::kWtsSessionLogon, 3);
    EXPECT_EQ(extender.ExtenderCount(), 0);
    EXPECT_EQ(extender.RemoteSessionCount(), 0);
    sessions_.FailEnumeration(false);
    extender.Update(platform::kWtsSessionLogon, 3);
    EXPECT_EQ(extender.ExtenderCount(), 1) << "the next notification counts again";
    EXPECT_EQ(extender.RemoteSessionCount(), 1);
}

TEST_F(MediaCenterExtenderTest, EndingSessionIsLeftOutWhileStillListed) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    AddRdp(3, "Alice");
    EXPECT_EQ(CountsAfter(platform::kWtsRemoteDisconnect, 2), std::make_pair(0, 1));
    EXPECT_EQ(CountsAfter(platform::kWtsConsoleDisconnect, 2), std::make_pair(0, 1));
    EXPECT_EQ(CountsAfter(platform::kWtsSessionLogoff, 3), std::make_pair(1, 0));
}

TEST_F(MediaCenterExtenderTest, ConnectingSessionIsCounted) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    EXPECT_EQ(CountsAfter(platform::kWtsConsoleConnect, 2), std::make_pair(1, 0));
    EXPECT_EQ(CountsAfter(platform::kWtsSessionLogon, 2), std::make_pair(1, 0));
    EXPECT_EQ(CountsAfter(platform::kWtsRemoteConnect, 2), std::make_pair(1, 0));
}

TEST_F(MediaCenterExtenderTest, EachRecountStartsFromScratch) {
    AddRdp(2, "Mcx1-LIVINGROOM");
    cMediaCenterExtender extender(sessions_);
    extender.Update(0, 0);
    extender.Update(0, 0);
    EXPECT_EQ(extender.ExtenderCount(), 1);
    sessions_.Remove(2);
    extender.Update(platform::kWtsSessionLogoff, 2);
    EXPECT_EQ(extender.ExtenderCount(), 0);
}

TEST_F(MediaCenterExtenderTest, RegistrationPrimesTheWindowWithOneSessionChange) {
    AddRdp(2, "Alice");
    cMediaCenterExtender extender(sessions_);
    sessions_.Remove(2);  // ended while nobody listened
    int window = 0;
    sessions_.SetWindowProcedure([&](const FakeSessions::SentMessage& message) {
        extender.Update(message.code, message.session_id);
    });
    EXPECT_TRUE(extender.RegisterSessionNotification(&window));
    ASSERT_EQ(sessions_.RegisteredWindows().size(), 1u);
    EXPECT_EQ(sessions_.RegisteredWindows()[0], &window);
    ASSERT_EQ(sessions_.SentMessages().size(), 1u);
    EXPECT_EQ(sessions_.SentMessages()[0].window, &window);
    EXPECT_EQ(sessions_.SentMessages()[0].code, 0u);
    EXPECT_EQ(sessions_.SentMessages()[0].session_id, 0u);
    EXPECT_EQ(extender.RemoteSessionCount(), 0) << "the window's handler recounted";
}

TEST_F(MediaCenterExtenderTest, FailedRegistrationSendsNothing) {
    AddRdp(2, "Alice");
    cMediaCenterExtender extender(sessions_);
    sessions_.FailRegistration(true);
    int window = 0;
    EXPECT_FALSE(extender.RegisterSessionNotification(&window));
    EXPECT_TRUE(sessions_.SentMessages().empty());
    EXPECT_EQ(extender.RemoteSessionCount(), 1) << "the counts stay as construction left them";
}

}  // namespace
