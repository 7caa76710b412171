// The real Winsock against the stand-in Kodi on this computer (the test runs
// under kodi_stand_in.py): connecting, a request and its answer, a pushed
// notification, and the server going away and coming back.
#include "platform/win32/win32_stream_sockets.h"
#include "tests/kodi/json_rpc_peer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::StreamConnection;
using Progress = StreamConnection::Progress;

// What arrives on the connection until the text holds `wanted` or the stream ends.
std::string ReceiveUntil(StreamConnection& connection, const std::string& wanted, bool* ended = nullptr) {
    std::string text;
    char buffer[7];  // small, so that an answer takes several reads
    const DWORD start = GetTickCount();
    while (text.find(wanted) == std::string::npos && GetTickCount() - start < kodi_test::kPatienceMs) {
        const auto received = connection.Receive(buffer);
        text.append(buffer, received.bytes);
        if (received.ended) {
            if (ended) *ended = true;
            break;
        }
        if (received.bytes == 0) Sleep(5);
    }
    return text;
}

class Win32StreamSocketsTest : public testing::Test {
protected:
    void SetUp() override {
        port_ = kodi_test::PortFromEnvironment("KODI_STAND_IN_PORT");
        if (port_ == 0) GTEST_SKIP() << "run under tests/kodi/kodi_stand_in.py";
        control_ = std::make_unique<kodi_test::JsonRpcPeer>(sockets_, port_);
        ASSERT_TRUE(control_->Connected());
    }

    std::unique_ptr<StreamConnection> Connect() {
        auto connection = sockets_.ConnectToLocalPort(port_);
        EXPECT_NE(connection, nullptr);
        return connection;
    }

    platform::win32::Win32StreamSockets sockets_;
    uint16_t port_ = 0;
    std::unique_ptr<kodi_test::JsonRpcPeer> control_;
};

TEST_F(Win32StreamSocketsTest, TalksToThePeerUntilItGoesAwayAndAgainWhenItComesBack) {
    auto connection = Connect();
    ASSERT_EQ(kodi_test::WaitWhileConnecting(*connection, kodi_test::kPatienceMs), Progress::Connected);

    ASSERT_TRUE(connection->Send(R"({"jsonrpc":"2.0","id":7,"method":"JSONRPC.Version"})"));
    EXPECT_NE(ReceiveUntil(*connection, "\"patch\": 0}}}").find(R"("id": 7, "result": {"version": {"major": 13)"),
              std::string::npos);
    EXPECT_EQ(connection->Receive(std::span<char>()).bytes, 0u);

    ASSERT_EQ(control_->Control("StandIn.Notify", R"({"method":"Player.OnPause","data":{"player":{"speed":0}}})"), "\"OK\"");
    EXPECT_NE(ReceiveUntil(*connection, "xbmc").find("\"method\": \"Player.OnPause\""), std::string::npos);

    ASSERT_EQ(control_->Control("StandIn.GoAway"), "\"OK\"");
    bool ended = false;
    ReceiveUntil(*connection, "never sent", &ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(connection->Poll(), Progress::Failed);
    EXPECT_FALSE(connection->Send("{}"));

    auto refused = Connect();
    EXPECT_EQ(kodi_test::WaitWhileConnecting(*refused, kodi_test::kPatienceMs), Progress::Failed);
    EXPECT_TRUE(refused->Receive(std::span<char>()).ended);

    ASSERT_EQ(control_->Control("StandIn.ComeBack"), "\"OK\"");
    auto again = Connect();
    EXPECT_EQ(kodi_test::WaitWhileConnecting(*again, kodi_test::kPatienceMs), Progress::Connected);
}

}  // namespace
